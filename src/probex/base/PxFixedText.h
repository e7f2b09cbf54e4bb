// Text built in place in a fixed array, without allocation, so that a signal
// handler may build it. What does not fit is cut off.
#pragma once

#include <charconv>
#include <cstddef>
#include <cstring>

template <std::size_t TSize> class CPxFixedText {
public:
  void Add(const char* text, std::size_t length) {
    const std::size_t room = TSize - 1 - m_nLength;
    const std::size_t taken = length < room ? length : room;
    std::memcpy(m_szText + m_nLength, text, taken);
    m_nLength += taken;
    m_szText[m_nLength] = '\0';
  }
  void Add(const char* text) { Add(text, std::strlen(text)); }
  void AddNumber(int value) {
    char digits[12];
    const std::to_chars_result end = std::to_chars(digits, digits + sizeof digits,
                                                   value < 0 ? 0u : static_cast<unsigned>(value));
    Add(digits, static_cast<std::size_t>(end.ptr - digits));
  }
  const char* Text() const { return m_szText; }
  std::size_t Length() const { return m_nLength; }

private:
  char m_szText[TSize] = {};
  std::size_t m_nLength = 0;
};
