#include "app/LogFollower.h"

#include "probex/platform/OwnFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

namespace {

constexpr std::size_t kChunkSize = 1 << 20;

} // namespace

bool CLogFollower::Read(const std::string& path, bool follow, const SHooks& hooks,
                        std::string& error) {
  NPxPlatform::CInputFile in;
  std::vector<char> chunk(kChunkSize);
  for (;;) {
    // Asked before reading: when the writer is gone, this read is the last
    // one and sees everything it wrote.
    const bool alive = follow && hooks.writerAlive();
    if (!in.IsOpen()) {
      // A directory cannot be read; a pipe or device could block the open
      // or the reads, which a follow must never do.
      std::error_code ignored;
      const std::filesystem::file_status status = std::filesystem::status(path, ignored);
      if (std::filesystem::is_directory(status)) {
        error = "cannot read " + path + ": it is a directory";
        return false;
      }
      if (follow && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        error = "cannot follow " + path + ": it is not a regular file";
        return false;
      }
      std::string why;
      if (!in.Open(path, why) && (!alive || std::filesystem::exists(status))) {
        error = "cannot open " + path + ": " + why;
        return false;
      }
    }
    for (long long got; in.IsOpen() && (got = in.Read(chunk.data(), chunk.size())) != 0;) {
      if (got < 0) {
        error = "cannot read " + path + ": " + std::strerror(errno ? errno : EIO);
        return false;
      }
      m_reader.Feed(chunk.data(), static_cast<std::size_t>(got), m_record);
    }
    if (!alive)
      break;
    hooks.idle();
    hooks.pause();
  }
  m_reader.Finish(m_record);
  return true;
}
