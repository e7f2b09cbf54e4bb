#include "report/TextConverter.h"

#include "probex/platform/Cp932Utf8Table.h"

#include "report/Iconv.h"

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

void CTextConverter::Convert(std::string_view cp932, std::string& out) {
  if (m_toUtf8)
    m_replaced += NPxPlatform::CCp932Utf8Table::Get().AppendUtf8(cp932, out);
  else
    m_ByIconv(cp932, out);
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
    const std::size_t skip = NPxPlatform::CCp932Utf8Table::BadLength(in, inLeft);
    out.append(m_replacement);
    m_replaced += skip;
    in += skip;
    inLeft -= skip;
    ::iconv(handle, nullptr, nullptr, nullptr, nullptr);
  }
}
