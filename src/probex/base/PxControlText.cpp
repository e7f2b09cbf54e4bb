#include "probex/base/PxControlText.h"

namespace NPxControlText {

void Append(std::string& out, std::string_view text, std::string_view keep) {
  static const char kDigits[] = "0123456789abcdef";
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 0x20 && byte != 0x7f) || keep.find(c) != std::string_view::npos) {
      out += c;
      continue;
    }
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xf];
  }
}

} // namespace NPxControlText
