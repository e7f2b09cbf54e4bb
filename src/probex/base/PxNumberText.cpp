#include "probex/base/PxNumberText.h"

namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  if (c >= 'A' && c <= 'F')
    return c - 'A' + 10;
  if (c >= 'a' && c <= 'f')
    return c - 'a' + 10;
  return -1;
}

} // namespace

bool PxReadDecimal(std::string_view text, std::size_t& pos, long long& value) {
  std::size_t p = pos;
  const bool negative = p < text.size() && text[p] == '-';
  if (negative)
    ++p;
  const std::size_t first = p;
  long long v = 0;
  // Eighteen digits cannot overflow; "%d" never writes more than ten.
  while (p < text.size() && p - first < 18 && text[p] >= '0' && text[p] <= '9')
    v = v * 10 + (text[p++] - '0');
  if (p == first || (p < text.size() && text[p] >= '0' && text[p] <= '9'))
    return false;
  value = negative ? -v : v;
  pos = p;
  return true;
}

bool PxReadHex(std::string_view text, std::size_t& pos, std::size_t width, std::uint64_t& value) {
  std::size_t p = pos;
  std::uint64_t v = 0;
  while (p < text.size() && (width == 0 || p - pos < width) && HexDigit(text[p]) >= 0) {
    if (p - pos == 16)
      return false;
    v = (v << 4) | static_cast<std::uint64_t>(HexDigit(text[p++]));
  }
  if (p == pos || (width != 0 && p - pos != width))
    return false;
  value = v;
  pos = p;
  return true;
}

bool PxReadLiteral(std::string_view text, std::size_t& pos, std::string_view expected) {
  if (text.substr(pos, expected.size()) != expected)
    return false;
  pos += expected.size();
  return true;
}
