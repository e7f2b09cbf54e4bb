#include "probex/base/PxControlText.h"

namespace NPxControlText {

void Append(std::string& out, std::string_view text, std::string_view keep) {
  static const char kDigits[] = "0123456789abcdef";
  // Runs of plain bytes go in whole: the viewer passes every text through here.
  std::size_t plain = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 0x20 && byte != 0x7f) || keep.find(c) != std::string_view::npos)
      continue;
    out.append(text.substr(plain, i - plain));
    out += "\\x";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xf];
    plain = i + 1;
  }
  out.append(text.substr(plain));
}

} // namespace NPxControlText
