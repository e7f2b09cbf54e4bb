// A message text built in place: up to kInline bytes live in the object
// itself, so a message of ordinary length costs no allocation; only a
// longer one moves to the heap. Nothing is ever cut.
#pragma once

#include "probex/base/PxFormat.h"

#include <cstddef>
#include <string>

class CPxInlineText {
public:
  CPxInlineText() { m_inline[0] = '\0'; }
  CPxInlineText(const CPxInlineText&) = delete;
  CPxInlineText& operator=(const CPxInlineText&) = delete;

  CPxInlineText& Append(const char* text);
  CPxInlineText& Append(const char* text, std::size_t length);
  CPxInlineText& AppendNumber(long long value);
  CPxInlineText& AppendFormat(const char* format, ...) PX_PRINTF_LIKE(2, 3);

  const char* c_str() const { return m_spilled ? m_heap.c_str() : m_inline; }

private:
  static constexpr std::size_t kInline = 512;

  char m_inline[kInline];
  std::size_t m_length = 0;
  bool m_spilled = false;
  std::string m_heap;
};
