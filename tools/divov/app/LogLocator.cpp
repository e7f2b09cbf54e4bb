#include "app/LogLocator.h"

#include "probex/base/PxLogFormat.h"
#include "probex/platform/OwnFile.h"
#include "probex/platform/Path.h"

#include <cstdlib>
#include <filesystem>
#include <tuple>

using NPxLogFormat::kStampHead;
using NPxLogFormat::StampStart;

namespace NLogLocator {

std::string LogPathFromViewerName(const std::string& viewerName) {
  std::string title = NPxPlatform::GetFileTitle(viewerName);
  const std::size_t stamp = StampStart(title);
  if (stamp != std::string::npos)
    title = NPxLogFormat::FitTitle(title, title.size() - stamp);
  return NPxPlatform::GetTempDirectory() + title;
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
    // Another user may plant a newer log, or a link, under the same name.
    if (stamp == std::string::npos || stamp + 1 != prefix.size() ||
        title.compare(0, prefix.size(), prefix) != 0 ||
        !NPxPlatform::IsOwnFile(entry.path().string()))
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
