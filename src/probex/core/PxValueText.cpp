#include "probex/core/PxValueText.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <sstream>

namespace NPxValue {
namespace {

// Strings longer than this show a window around their first difference.
constexpr std::size_t kLongString = 64;
constexpr std::size_t kBeforeDifference = 20;
constexpr std::size_t kWindow = 60;
constexpr std::size_t kBytesShown = 16;
const char kEllipsis[] = "...";

std::string Hex(unsigned long long value, int width = 0) {
  char text[24];
  std::snprintf(text, sizeof text, "%0*llX", width, value);
  return text;
}

// The first byte of a CP932 double-byte character, whose second byte may be
// any, 0x5C included: the pair is copied as it is.
bool IsLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

void AppendEscaped(std::string& out, unsigned code) {
  switch (code) {
  case '"':
    out += "\\\"";
    return;
  case '\\':
    out += "\\\\";
    return;
  case '\t':
    out += "\\t";
    return;
  case '\r':
    out += "\\r";
    return;
  case '\n':
    out += "\\n";
    return;
  default:
    break;
  }
  if (code >= 0x20 && code < 0x7F)
    out += static_cast<char>(code);
  else if (code <= 0xFF)
    out += "\\x" + Hex(code, 2);
  else
    out += "\\u" + Hex(code, 4);
}

// A terminated string takes its length here: the check relies on the
// terminator as x_AssertCompareStr does.
std::size_t SizeOf(const SText& text) {
  if (text.counted)
    return text.size;
  std::size_t size = 0;
  if (text.wide)
    while (text.units[size])
      ++size;
  else
    size = std::strlen(text.bytes);
  return size;
}

bool IsNull(const SText& text) {
  return !text.counted && (text.wide ? !text.units : !text.bytes);
}

unsigned UnitAt(const SText& text, std::size_t at) {
  return text.wide ? text.units[at] : static_cast<unsigned char>(text.bytes[at]);
}

// Where a window may start at or before `at`: never on a second byte.
std::size_t CharStart(const SText& text, std::size_t at) {
  std::size_t start = 0;
  while (!text.wide && start < at) {
    const std::size_t next =
        start + (IsLeadByte(static_cast<unsigned char>(text.bytes[start])) ? 2 : 1);
    if (next > at)
      break;
    start = next;
  }
  return text.wide ? at : start;
}

// The quoted text from `from` to `to`, marked where it is cut.
std::string Quoted(const SText& text, std::size_t from, std::size_t to, std::size_t size) {
  std::string out = from > 0 ? kEllipsis : "";
  out += text.wide ? "u\"" : "\"";
  for (std::size_t i = from; i < to; ++i) {
    const unsigned code = UnitAt(text, i);
    if (!text.wide && IsLeadByte(static_cast<unsigned char>(code)) && i + 1 < size &&
        text.bytes[i + 1] != 0) {
      out += static_cast<char>(code);
      out += text.bytes[++i];
      continue;
    }
    AppendEscaped(out, code);
  }
  out += '"';
  if (to < size)
    out += kEllipsis;
  return out;
}

} // namespace

std::string SignedText(long long value) {
  return std::to_string(value);
}

std::string UnsignedText(unsigned long long value) {
  std::string text = std::to_string(value);
  if (value > 9)
    text += " (0x" + Hex(value) + ")";
  return text;
}

std::string CharText(long long code) {
  const unsigned shown =
      code < 0 ? static_cast<unsigned>(code) & 0xFFu : static_cast<unsigned>(code);
  std::string text = "'";
  if (shown == '\'')
    text += "\\'";
  else if (shown == '"')
    text += '"';
  else
    AppendEscaped(text, shown);
  return text + "' (" + std::to_string(code) + ")";
}

std::string FloatText(long double value, int digits) {
  char text[64];
  std::snprintf(text, sizeof text, "%.*Lg", digits, value);
  return text;
}

std::string PointerText(const void* pointer) {
  return pointer ? "0x" + Hex(reinterpret_cast<std::uintptr_t>(pointer)) : "nullptr";
}

std::string BytesText(const void* object, std::size_t size) {
  const auto* bytes = static_cast<const unsigned char*>(object);
  std::string text = std::to_string(size) + " bytes:";
  for (std::size_t i = 0; i < size && i < kBytesShown; ++i)
    text += " " + Hex(bytes[i], 2);
  if (size > kBytesShown)
    text += std::string(" ") + kEllipsis;
  return text;
}

std::string ListText(const std::string* items, std::size_t count) {
  if (count == 0)
    return "{}";
  std::string text = "{ ";
  for (std::size_t i = 0; i < count && i < kListShown; ++i)
    text += (i ? ", " : "") + items[i];
  if (count > kListShown)
    text += std::string(", ") + kEllipsis + " } (size " + std::to_string(count) + ")";
  else
    text += " }";
  return text;
}

std::string StreamedText(void (*write)(std::ostream& out, const void* object), const void* object) {
  std::ostringstream out;
  write(out, object);
  return out.str();
}

std::string StringText(const SText& text) {
  if (IsNull(text))
    return "nullptr";
  const std::size_t size = SizeOf(text);
  return Quoted(text, 0, size, size);
}

SPair StringPair(const SText& left, const SText& right) {
  if (IsNull(left) || IsNull(right))
    return SPair{StringText(left), StringText(right), -1};
  const std::size_t leftSize = SizeOf(left);
  const std::size_t rightSize = SizeOf(right);
  if (leftSize <= kLongString && rightSize <= kLongString)
    return SPair{Quoted(left, 0, leftSize, leftSize), Quoted(right, 0, rightSize, rightSize), -1};
  std::size_t differs = 0;
  while (differs < leftSize && differs < rightSize &&
         UnitAt(left, differs) == UnitAt(right, differs))
    ++differs;
  const std::size_t from = differs > kBeforeDifference ? differs - kBeforeDifference : 0;
  SPair pair;
  pair.differsAt = static_cast<long long>(differs);
  const auto window = [from](const SText& text, std::size_t size) {
    const std::size_t start = CharStart(text, from);
    const std::size_t end = size - start > kWindow ? start + kWindow : size;
    return Quoted(text, start, end, size) + " (size " + std::to_string(size) + ")";
  };
  pair.left = window(left, leftSize);
  pair.right = window(right, rightSize);
  return pair;
}

bool SameText(const SText& left, const SText& right) {
  if (IsNull(left) || IsNull(right))
    return IsNull(left) && IsNull(right);
  const std::size_t size = SizeOf(left);
  if (left.wide != right.wide || size != SizeOf(right))
    return false;
  for (std::size_t i = 0; i < size; ++i)
    if (UnitAt(left, i) != UnitAt(right, i))
      return false;
  return true;
}

} // namespace NPxValue
