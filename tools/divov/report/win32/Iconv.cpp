#include "report/win32/Iconv.h"

#include "probex/platform/win32/Win32.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <string>

namespace {

constexpr UINT kCp932 = 932;

// The targets, told apart by the handle's value: no state is kept.
char g_toUtf8;
char g_toCp932;

std::string Normalised(const char* name) {
  std::string out;
  for (const char* p = name; *p; ++p) {
    if (*p != '-' && *p != '_')
      out += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
  }
  return out;
}

bool IsLeadByte(unsigned char c) {
  return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC);
}

} // namespace

iconv_t iconv_open(const char* toCode, const char* fromCode) {
  const std::string from = Normalised(fromCode), to = Normalised(toCode);
  if (from == "CP932" && to == "UTF8")
    return &g_toUtf8;
  if (from == "CP932" && (to == "CP932" || to == "SHIFTJIS" || to == "SJIS"))
    return &g_toCp932;
  errno = EINVAL;
  return reinterpret_cast<iconv_t>(-1);
}

std::size_t iconv(iconv_t handle, char** in, std::size_t* inLeft, char** out,
                  std::size_t* outLeft) {
  if (!in || !*in)
    return 0; // a reset: no shift state to return to
  while (*inLeft > 0) {
    const unsigned char lead = static_cast<unsigned char>(**in);
    const std::size_t length = IsLeadByte(lead) ? 2 : 1;
    if (length > *inLeft) {
      errno = EINVAL;
      return static_cast<std::size_t>(-1);
    }
    wchar_t wide[2];
    const int wideLength =
        ::MultiByteToWideChar(kCp932, MB_ERR_INVALID_CHARS, *in, static_cast<int>(length), wide, 2);
    if (wideLength <= 0) {
      errno = EILSEQ;
      return static_cast<std::size_t>(-1);
    }
    char bytes[8];
    std::size_t size = length;
    if (handle == &g_toUtf8)
      size = static_cast<std::size_t>(::WideCharToMultiByte(CP_UTF8, 0, wide, wideLength, bytes,
                                                            sizeof bytes, nullptr, nullptr));
    else
      std::copy(*in, *in + length, bytes);
    if (size > *outLeft) {
      errno = E2BIG;
      return static_cast<std::size_t>(-1);
    }
    for (std::size_t i = 0; i < size; ++i)
      (*out)[i] = bytes[i];
    *out += size;
    *outLeft -= size;
    *in += length;
    *inLeft -= length;
  }
  return 0;
}

int iconv_close(iconv_t) {
  return 0;
}
