#include "Cp932Utf8Table.h"

#include <iconv.h>

namespace {

// The UTF-8 of one CP932 character, or 0 bytes when iconv has none for it.
template <typename TEntry>
void Fill(iconv_t handle, const char* cp932, std::size_t size, TEntry& entry) {
  char* in = const_cast<char*>(cp932);
  std::size_t inLeft = size;
  char out[8];
  char* to = out;
  std::size_t toLeft = sizeof out;
  ::iconv(handle, nullptr, nullptr, nullptr, nullptr);
  const std::size_t rc = ::iconv(handle, &in, &inLeft, &to, &toLeft);
  const std::size_t produced = sizeof out - toLeft;
  if (rc == static_cast<std::size_t>(-1) || inLeft != 0 || produced == 0 || produced > 3)
    return;
  for (std::size_t i = 0; i < produced; ++i)
    entry.bytes[i] = out[i];
  entry.size = static_cast<std::uint8_t>(produced);
}

} // namespace

const CCp932Utf8Table& CCp932Utf8Table::Get() {
  static const CCp932Utf8Table* const table = new CCp932Utf8Table;
  return *table;
}

CCp932Utf8Table::CCp932Utf8Table() {
  const iconv_t handle = ::iconv_open("UTF-8", "CP932");
  if (handle == reinterpret_cast<iconv_t>(-1))
    return; // every lookup fails, and the text is replaced, not lost
  for (int b = 0; b < 256; ++b) {
    const char single = static_cast<char>(b);
    Fill(handle, &single, 1, m_single[b]);
  }
  for (int lead = 0x80; lead < 0x100; ++lead) {
    if (m_single[lead].size != 0)
      continue;
    for (int trail = 0x40; trail < 0x100; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      Fill(handle, pair, 2, m_pairs[lead - 0x80][trail]);
    }
  }
  ::iconv_close(handle);
}

std::size_t CCp932Utf8Table::Lookup(const unsigned char* text, std::size_t size, const char*& utf8,
                                    std::size_t& utf8Size) const {
  const SEntry* entry = &m_single[text[0]];
  std::size_t length = 1;
  if (entry->size == 0 && text[0] >= 0x80 && size >= 2) {
    entry = &m_pairs[text[0] - 0x80][text[1]];
    length = 2;
  }
  if (entry->size == 0)
    return 0;
  utf8 = entry->bytes;
  utf8Size = entry->size;
  return length;
}
