#include "probex/base/PxInlineText.h"

#include <charconv>
#include <cstdarg>
#include <cstdio>
#include <cstring>

CPxInlineText& CPxInlineText::Append(const char* text) {
  return Append(text, std::strlen(text));
}

CPxInlineText& CPxInlineText::Append(const char* text, std::size_t length) {
  if (!m_spilled && m_length + length < kInline) {
    std::memcpy(m_inline + m_length, text, length);
    m_length += length;
    m_inline[m_length] = '\0';
    return *this;
  }
  if (!m_spilled) {
    m_heap.assign(m_inline, m_length);
    m_spilled = true;
  }
  m_heap.append(text, length);
  m_length += length;
  return *this;
}

CPxInlineText& CPxInlineText::AppendNumber(long long value) {
  char digits[24];
  const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits, value);
  return Append(digits, static_cast<std::size_t>(end.ptr - digits));
}

CPxInlineText& CPxInlineText::AppendFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  va_list again;
  va_copy(again, args);
  char* at = m_spilled ? nullptr : m_inline + m_length;
  const std::size_t room = m_spilled ? 0 : kInline - m_length;
  const int length = std::vsnprintf(at, room, format, args);
  va_end(args);
  if (length > 0 && static_cast<std::size_t>(length) < room) {
    m_length += static_cast<std::size_t>(length);
  } else if (length > 0) {
    if (!m_spilled)
      m_inline[m_length] = '\0';
    std::string wide(static_cast<std::size_t>(length), '\0');
    std::vsnprintf(wide.data(), wide.size() + 1, format, again);
    Append(wide.data(), wide.size());
  }
  va_end(again);
  return *this;
}
