#include "probex/platform/Path.h"

#include <vector>

namespace NPxPlatform {
namespace {

constexpr std::size_t kMaxPath = 260;

bool CurrentDirectory(std::string& out);
bool IsSeparator(char c);

// Folds "." and ".." of an absolute slash-separated path, lexically.
std::string Fold(const std::string& path) {
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i <= path.size()) {
    const std::size_t slash = path.find('/', i);
    const std::size_t end = slash == std::string::npos ? path.size() : slash;
    const std::string part = path.substr(i, end - i);
    if (part == "..") {
      if (!parts.empty())
        parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = end + 1;
  }
  std::string folded;
  for (const std::string& part : parts)
    folded += "/" + part;
  return folded.empty() ? "/" : folded;
}

} // namespace

std::string QualifyPath(const char* path) {
  if (!path)
    return std::string();
  const std::string name(path);
  if (name.empty() || IsAbsolutePath(path))
    return name;
  std::string cwd;
  if (!CurrentDirectory(cwd))
    return name;
  const std::string qualified = Fold(cwd + "/" + name);
  return qualified.size() < kMaxPath ? qualified : name;
}

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
