#include "LogLocator.h"

#include "probex/platform/Path.h"

#include <cstdlib>
#include <filesystem>
#include <tuple>

namespace {

constexpr std::size_t kMaxFileTitle = 255;
// ".YYYYMMDD_HHMMSS" before the sequence number, ".qpxlog" after it.
constexpr std::size_t kStampHead = 16;
const char kLogExtension[] = ".qpxlog";

// The stamp at the end of a log title, from its dot to the extension;
// npos when the title does not end in one.
std::size_t StampStart(const std::string& title) {
  const std::size_t ext = sizeof kLogExtension - 1;
  if (title.size() < kStampHead + 1 + ext ||
      title.compare(title.size() - ext, ext, kLogExtension) != 0)
    return std::string::npos;
  const std::size_t dot = title.rfind('.', title.size() - ext - 1);
  if (dot == std::string::npos || title.size() - ext - dot < kStampHead + 1 ||
      title[dot + 9] != '_')
    return std::string::npos;
  for (std::size_t i = dot + 1; i < title.size() - ext; ++i)
    if (i != dot + 9 && (title[i] < '0' || title[i] > '9'))
      return std::string::npos;
  return dot;
}

} // namespace

namespace NLogLocator {

std::string LogPathFromViewerName(const std::string& viewerName) {
  std::string title = NPxPlatform::GetFileTitle(viewerName);
  const std::size_t stamp = StampStart(title);
  if (title.size() > kMaxFileTitle && stamp != std::string::npos) {
    const std::size_t stampLength = title.size() - stamp;
    title = title.substr(0, kMaxFileTitle - stampLength) + title.substr(stamp);
  }
  return NPxPlatform::GetTempDirectory() + title;
}

std::string MarkerName(const std::string& logPath) {
  std::string marker = logPath + "_Mutex!";
  for (char& c : marker)
    if (c == '\\' || c == ':')
      c = '_';
  return marker;
}

std::string WriterSpelling(const std::string& logPath) {
  namespace fs = std::filesystem;
  const std::string temp = NPxPlatform::GetTempDirectory();
  std::error_code error;
  const fs::path dir = fs::weakly_canonical(fs::absolute(logPath, error).parent_path(), error);
  if (error || dir != fs::weakly_canonical(temp, error) || error)
    return logPath;
  return temp + fs::path(logPath).filename().string();
}

std::string LatestLog(const std::string& program) {
  const std::string prefix = NPxPlatform::GetFileTitle(program) + ".";
  std::string best;
  std::tuple<std::string, unsigned long> bestKey;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(NPxPlatform::GetTempDirectory(), error)) {
    const std::string title = entry.path().filename().string();
    const std::size_t stamp = StampStart(title);
    if (stamp == std::string::npos || stamp + 1 != prefix.size() ||
        title.compare(0, prefix.size(), prefix) != 0)
      continue;
    // The date and time first, then the sequence number, which may pass 99.
    const std::tuple<std::string, unsigned long> key(
        title.substr(stamp + 1, kStampHead - 1),
        std::strtoul(title.c_str() + stamp + kStampHead, nullptr, 10));
    if (best.empty() || key > bestKey) {
      best = entry.path().string();
      bestKey = key;
    }
  }
  return best;
}

} // namespace NLogLocator
