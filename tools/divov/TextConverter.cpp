#include "TextConverter.h"

#include <iconv.h>

#include <algorithm>
#include <cctype>
#include <cerrno>

namespace {

bool m_sIsUtf8Name(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  name.erase(std::remove(name.begin(), name.end(), '-'), name.end());
  return name == "UTF8";
}

// A lead byte of a CP932 double-byte character.
bool m_sIsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace

CTextConverter::CTextConverter(const std::string& toEncoding) {
  const iconv_t handle = ::iconv_open(toEncoding.c_str(), "CP932");
  if (handle == reinterpret_cast<iconv_t>(-1))
    return;
  m_handle = handle;
  m_toUtf8 = m_sIsUtf8Name(toEncoding);
  m_replacement = m_toUtf8 ? "\xEF\xBF\xBD" : "?";
}

CTextConverter::~CTextConverter() {
  if (m_handle)
    ::iconv_close(static_cast<iconv_t>(m_handle));
}

void CTextConverter::Convert(std::string_view cp932, std::string& out) {
  // ASCII is the same in UTF-8: most of a log is, and needs no converter.
  if (m_toUtf8 && std::all_of(cp932.begin(), cp932.end(),
                              [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
    out.append(cp932);
    return;
  }
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
    // character (two bytes for a well-formed pair) and go on.
    std::size_t skip = 1;
    if (inLeft >= 2 && m_sIsLeadByte(static_cast<unsigned char>(in[0])) &&
        static_cast<unsigned char>(in[1]) >= 0x40 && static_cast<unsigned char>(in[1]) != 0x7F)
      skip = 2;
    out.append(m_replacement);
    m_replaced += skip;
    in += skip;
    inLeft -= skip;
    ::iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
}
