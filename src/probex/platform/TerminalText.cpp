#include "probex/platform/TerminalText.h"

#include "probex/platform/Cp932Utf8Table.h"

#include <cstdlib>

namespace NPxPlatform {

std::string LocaleName(const char* category) {
  for (const char* variable : {"LC_ALL", category, "LANG"}) {
    const char* value = std::getenv(variable);
    if (value && *value)
      return value;
  }
  return "C";
}

bool IsUtf8LocaleName(const std::string& name) {
  const std::string::size_type dot = name.find('.');
  if (dot == std::string::npos)
    return false;
  std::string codeset;
  for (char c : name.substr(dot + 1, name.find('@', dot) - dot - 1)) {
    if (c != '-')
      codeset += static_cast<char>(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c);
  }
  return codeset == "UTF8";
}

std::string TerminalText(const char* cp932) {
  static const bool utf8 = IsUtf8LocaleName(LocaleName("LC_CTYPE"));
  if (!utf8)
    return cp932;
  std::string out;
  CCp932Utf8Table::Get().AppendUtf8(cp932, out);
  return out;
}

} // namespace NPxPlatform
