#include "probex/platform/Cp932Utf8Table.h"

#if defined(_WIN32)
#include "win32/Cp932Utf8Table.inc"
#else
#include "posix/Cp932Utf8Table.inc"
#endif

namespace NPxPlatform {
namespace {

// One table entry from the system's converter; empty when the character
// has no UTF-8 of at most three bytes.
template <typename TEntry>
void Fill(CSystemConverter& converter, const char* cp932, std::size_t size, TEntry& entry) {
  char out[8];
  const std::size_t produced = converter.Convert(cp932, size, out);
  if (produced == 0 || produced > 3)
    return;
  for (std::size_t i = 0; i < produced; ++i)
    entry.bytes[i] = out[i];
  entry.size = static_cast<std::uint8_t>(produced);
}

// A lead byte of a CP932 double-byte character.
bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace

const CCp932Utf8Table& CCp932Utf8Table::Get() {
  static const CCp932Utf8Table* const table = new CCp932Utf8Table;
  return *table;
}

CCp932Utf8Table::CCp932Utf8Table() {
  CSystemConverter converter;
  if (!converter.Valid())
    return; // every lookup fails, and text is replaced, not lost
  for (int b = 0; b < 256; ++b) {
    const char single = static_cast<char>(b);
    Fill(converter, &single, 1, m_single[b]);
  }
  for (int lead = 0x80; lead < 0x100; ++lead) {
    if (m_single[lead].size != 0)
      continue;
    for (int trail = 0x40; trail < 0x100; ++trail) {
      const char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      Fill(converter, pair, 2, m_pairs[lead - 0x80][trail]);
    }
  }
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

std::uint64_t CCp932Utf8Table::AppendUtf8(std::string_view cp932, std::string& out) const {
  std::uint64_t replaced = 0;
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const auto* const end = p + cp932.size();
  while (p < end) {
    // ASCII is the same in UTF-8, and most text is ASCII.
    const unsigned char* ascii = p;
    while (p < end && *p < 0x80)
      ++p;
    out.append(reinterpret_cast<const char*>(ascii), static_cast<std::size_t>(p - ascii));
    while (p < end && *p >= 0x80) {
      const char* utf8 = nullptr;
      std::size_t utf8Size = 0;
      const auto left = static_cast<std::size_t>(end - p);
      std::size_t length = Lookup(p, left, utf8, utf8Size);
      if (length != 0) {
        out.append(utf8, utf8Size);
      } else {
        length = BadLength(reinterpret_cast<const char*>(p), left);
        out.append("\xEF\xBF\xBD");
        replaced += length;
      }
      p += length;
    }
  }
  return replaced;
}

std::size_t CCp932Utf8Table::BadLength(const char* text, std::size_t size) {
  const auto lead = static_cast<unsigned char>(text[0]);
  const unsigned char trail = size >= 2 ? static_cast<unsigned char>(text[1]) : 0;
  return IsLeadByte(lead) && trail >= 0x40 && trail != 0x7F ? 2 : 1;
}

} // namespace NPxPlatform
