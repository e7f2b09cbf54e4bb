#include "TextConverter.h"

#include "Cp932Utf8Table.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace {

bool IsUtf8Name(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
  return name == "UTF8";
}

// A lead byte of a CP932 double-byte character.
bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace

CTextConverter::CTextConverter(const std::string& toEncoding) {
  const iconv_t handle = ::iconv_open(toEncoding.c_str(), "CP932");
  if (handle == reinterpret_cast<iconv_t>(-1))
    return;
  m_handle = handle;
  m_toUtf8 = IsUtf8Name(toEncoding);
  m_replacement = m_toUtf8 ? "\xEF\xBF\xBD" : "?";
}

CTextConverter::~CTextConverter() {
  if (m_handle)
    ::iconv_close(static_cast<iconv_t>(m_handle));
}

// The characters of a character that cannot be converted: two for a lead
// byte with a byte that may follow it, else one.
std::size_t CTextConverter::m_sBadLength(const char* text, std::size_t size) {
  const unsigned char lead = static_cast<unsigned char>(text[0]);
  const unsigned char trail = size >= 2 ? static_cast<unsigned char>(text[1]) : 0;
  return IsLeadByte(lead) && trail >= 0x40 && trail != 0x7F ? 2 : 1;
}

void CTextConverter::Convert(std::string_view cp932, std::string& out) {
  if (m_toUtf8)
    m_ToUtf8(cp932, out);
  else
    m_ByIconv(cp932, out);
}

void CTextConverter::m_ToUtf8(std::string_view cp932, std::string& out) {
  const CCp932Utf8Table& table = CCp932Utf8Table::Get();
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const auto* const end = p + cp932.size();
  while (p < end) {
    // ASCII is the same in UTF-8, and most of a log is ASCII.
    const unsigned char* ascii = p;
    while (p < end && *p < 0x80)
      ++p;
    out.append(reinterpret_cast<const char*>(ascii), static_cast<std::size_t>(p - ascii));
    while (p < end && *p >= 0x80) {
      const char* utf8 = nullptr;
      std::size_t utf8Size = 0;
      std::size_t length = table.Lookup(p, static_cast<std::size_t>(end - p), utf8, utf8Size);
      if (length != 0) {
        out.append(utf8, utf8Size);
      } else {
        length = m_sBadLength(reinterpret_cast<const char*>(p), static_cast<std::size_t>(end - p));
        out.append(m_replacement);
        m_replaced += length;
      }
      p += length;
    }
  }
}

void CTextConverter::m_ByIconv(std::string_view cp932, std::string& out) {
  if (!m_handle) {
    out.append(cp932);
    return;
  }
  const iconv_t handle = static_cast<iconv_t>(m_handle);
  char* in = const_cast<char*>(cp932.data());
  std::size_t inLeft = cp932.size();
  char buffer[16384];
  while (inLeft > 0) {
    char* to = buffer;
    std::size_t toLeft = sizeof buffer;
    const std::size_t rc = ::iconv(handle, &in, &inLeft, &to, &toLeft);
    out.append(buffer, static_cast<std::size_t>(to - buffer));
    if (rc != static_cast<std::size_t>(-1) || errno == E2BIG)
      continue;
    // Invalid or cut input, or a character the target lacks: replace the
    // character and go on.
    const std::size_t skip = m_sBadLength(in, inLeft);
    out.append(m_replacement);
    m_replaced += skip;
    in += skip;
    inLeft -= skip;
    ::iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
}
