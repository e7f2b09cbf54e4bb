// CP932 to UTF-8 by table: every single byte and every double-byte pair,
// taken once from the system's converter, so that converting is a lookup
// per character. Built on first use and shared by the whole process: the
// library's terminal output and the viewer read the same table.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace NPxPlatform {

class CCp932Utf8Table {
public:
  static const CCp932Utf8Table& Get();

  // The UTF-8 bytes of the character that starts at text (size bytes
  // available) and its length in CP932 bytes; 0 when it has no character.
  std::size_t Lookup(const unsigned char* text, std::size_t size, const char*& utf8,
                     std::size_t& utf8Size) const;
  // Appends the UTF-8 of cp932 to out; a character without one becomes
  // U+FFFD. The answer is the number of CP932 bytes so replaced.
  std::uint64_t AppendUtf8(std::string_view cp932, std::string& out) const;
  // The bytes of a character that cannot be converted: two for a lead byte
  // with a byte that may follow it, else one.
  static std::size_t BadLength(const char* text, std::size_t size);

private:
  CCp932Utf8Table();

  struct SEntry {
    char bytes[3];
    std::uint8_t size = 0; // 0: no character
  };
  SEntry m_single[256];
  SEntry m_pairs[128][256]; // by lead byte - 0x80, then trail byte
};

} // namespace NPxPlatform
