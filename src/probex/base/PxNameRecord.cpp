#include "probex/base/PxNameRecord.h"

#include "probex/base/PxControlText.h"

namespace NPxNameRecord {

std::string Write(std::string_view name) {
  std::string text;
  Write(name, text);
  return text;
}

void Write(std::string_view name, std::string& text) {
  text.clear();
  NPxControlText::Append(text, name, "");
}

bool Read(std::string_view text, std::string& name) {
  if (text.empty())
    return false;
  name.assign(text);
  return true;
}

} // namespace NPxNameRecord
