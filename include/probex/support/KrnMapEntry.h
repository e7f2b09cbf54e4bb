// One entry of a map: a key and its value. Copying an entry copies the key
// and the value; a vector value then shares its storage with the source.
#pragma once

#include "probex/base/PxApi.h"

namespace KRN {

template <class TKey, class TValue> class PX_TEMPLATE_API CKrnMapEntry {
public:
  TKey m_key{};
  TValue m_value;
};

} // namespace KRN
