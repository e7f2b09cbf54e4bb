// One entry of a map: a key and its value. Copying an entry copies the key
// and the value; a vector value then shares its storage with the source.
#pragma once

namespace KRN {

template <class TKey, class TValue> class CKrnMapEntry {
public:
  TKey m_key{};
  TValue m_value;
};

} // namespace KRN
