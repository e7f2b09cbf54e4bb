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

namespace {

constexpr char kExeSuffix[] = ".exe";

// A Windows program's log carries its executable's whole file title, so a
// bare name also stands for NAME.exe; a name that has ".exe" stands only for
// itself.
bool NamesProgram(const std::string& name, const std::string& program) {
  const std::size_t suffix = sizeof kExeSuffix - 1;
  const bool hasSuffix =
      program.size() >= suffix && program.compare(program.size() - suffix, suffix, kExeSuffix) == 0;
  return name == program || (!hasSuffix && name == program + kExeSuffix);
}

} // namespace

std::string LatestLog(const std::string& program) {
  const std::string programTitle = NPxPlatform::GetFileTitle(program);
  std::string best;
  std::tuple<std::string, unsigned long> bestKey;
  std::error_code error;
  for (const auto& entry :
       std::filesystem::directory_iterator(NPxPlatform::GetTempDirectory(), error)) {
    const std::string title = entry.path().filename().string();
    const std::size_t stamp = StampStart(title);
    // Another user may plant a newer log, or a link, under the same name.
    if (stamp == std::string::npos || !NamesProgram(title.substr(0, stamp), programTitle) ||
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
