#include "common/PxIconv.h"

#if defined(_WIN32)
#include "probex/platform/win32/Win32.h"

#include <cctype>

namespace {

// Windows has no iconv: its code-page converters, through UTF-16, serve.
UINT CodePage(std::string name) {
  for (char& c : name)
    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return name == "UTF-8" ? CP_UTF8 : name == "CP932" ? 932 : 0;
}

} // namespace

std::string PxIconv(const char* to, const char* from, const std::string& text) {
  const UINT toPage = CodePage(to), fromPage = CodePage(from);
  if (!toPage || !fromPage)
    return "<conversion failed>";
  if (text.empty())
    return text;
  const int size = static_cast<int>(text.size());
  std::wstring wide(text.size(), L'\0');
  const int wideSize =
      ::MultiByteToWideChar(fromPage, MB_ERR_INVALID_CHARS, text.data(), size, &wide[0], size);
  if (wideSize <= 0)
    return "<conversion failed>";
  std::string out(text.size() * 4 + 4, '\0');
  BOOL lossy = FALSE;
  const int outSize =
      ::WideCharToMultiByte(toPage, 0, wide.data(), wideSize, &out[0], static_cast<int>(out.size()),
                            nullptr, toPage == CP_UTF8 ? nullptr : &lossy);
  if (outSize <= 0 || lossy)
    return "<conversion failed>";
  out.resize(static_cast<std::size_t>(outSize));
  return out;
}
#else
#include <iconv.h>

std::string PxIconv(const char* to, const char* from, const std::string& text) {
  const iconv_t cd = ::iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1))
    return "<conversion failed>";
  std::string in = text;
  std::string out(text.size() * 4 + 4, '\0');
  char* src = in.data();
  size_t inLeft = in.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  const size_t rc = ::iconv(cd, &src, &inLeft, &dst, &outLeft);
  ::iconv_close(cd);
  if (rc == static_cast<size_t>(-1))
    return "<conversion failed>";
  out.resize(out.size() - outLeft);
  return out;
}
#endif
