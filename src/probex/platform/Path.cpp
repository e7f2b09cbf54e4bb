#include "probex/platform/Path.h"

namespace NPxPlatform {
namespace {

bool IsSeparator(char c);

} // namespace

std::string GetFileTitle(const std::string& path) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1]))
      return path.substr(i);
  }
  return path;
}

} // namespace NPxPlatform

#if defined(_WIN32)
#include "win32/Path.inc"
#else
#include "posix/Path.inc"
#endif
