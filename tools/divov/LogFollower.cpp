#include "LogFollower.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace {

constexpr std::size_t kChunkSize = 1 << 20;

} // namespace

bool CLogFollower::Read(const std::string& path, bool follow, const SHooks& hooks,
                        std::string& error) {
  std::ifstream in;
  std::vector<char> chunk(kChunkSize);
  for (;;) {
    // Asked before reading: when the writer is gone, this read is the last
    // one and sees everything it wrote.
    const bool alive = follow && hooks.writerAlive();
    if (!in.is_open()) {
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
      errno = 0;
      in.open(path, std::ios::binary);
      if (!in.is_open() && !alive) {
        error = "cannot open " + path + ": " + std::strerror(errno ? errno : ENOENT);
        return false;
      }
    }
    if (in.is_open()) {
      for (;;) {
        in.read(chunk.data(), static_cast<std::streamsize>(chunk.size()));
        const std::size_t got = static_cast<std::size_t>(in.gcount());
        if (got == 0)
          break;
        m_reader.Feed(chunk.data(), got, m_record);
      }
      if (in.bad()) {
        error = "cannot read " + path + ": " + std::strerror(errno ? errno : EIO);
        return false;
      }
      in.clear(); // past the end now, but the file may grow
    }
    if (!alive)
      break;
    hooks.idle();
    hooks.pause();
  }
  m_reader.Finish(m_record);
  return true;
}
