#include "common/PxIconv.h"

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
