#include "common/PxTestFiles.h"

#include "common/PxChildProcess.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <sstream>

#if !defined(_WIN32)
#include <unistd.h>
#endif

#if defined(_WIN32)
// No mkdtemp: a directory that did not exist yet is as fresh.
std::string PxMakeTempDir(const std::string& stem) {
  const char* tmp = std::getenv("TMPDIR");
  std::error_code error;
  const std::string base =
      tmp && *tmp ? std::string(tmp) : std::filesystem::temp_directory_path(error).string();
  static std::random_device s_random;
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Spelt with backslashes, as the system spells the temporary directory.
    const std::string path =
        (std::filesystem::path(base) / (stem + "-" + std::to_string(s_random()))).string();
    if (std::filesystem::create_directory(path, error))
      return path;
  }
  return std::string();
}
#else
std::string PxMakeTempDir(const std::string& stem) {
  const char* tmp = std::getenv("TMPDIR");
  std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + stem + "-XXXXXX";
  return ::mkdtemp(pattern.data()) ? pattern : std::string();
}
#endif

std::vector<std::string> PxFilesIn(const std::string& dir, const std::string& extension) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::directory_iterator(dir))
    if (entry.path().extension() == extension)
      files.push_back(entry.path().string());
  std::sort(files.begin(), files.end());
  return files;
}

std::string PxReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

std::string PxOnlyLog(const std::string& dir) {
  const std::vector<std::string> logs = PxFilesIn(dir, ".qpxlog");
  EXPECT_EQ(logs.size(), 1u) << "logs in " << dir;
  return logs.size() == 1 ? PxReadFile(logs[0]) : std::string();
}

std::vector<std::string> PxRecords(const std::string& log) {
  std::vector<std::string> records;
  std::size_t start = 0;
  for (std::size_t end; (end = log.find('\r', start)) != std::string::npos; start = end + 1)
    records.push_back(log.substr(start, end - start));
  return records;
}

void PxExpectApproved(const std::string& name, const std::string& text) {
  const std::string path = std::string(PROBEX_TEST_SOURCE_DIR) + "/" + name;
  if (std::getenv("PX_APPROVE"))
    std::ofstream(path, std::ios::binary) << text;
  else
    EXPECT_EQ(text, PxReadFile(path)) << "differs from " << path << " (PX_APPROVE=1 takes it)";
}

namespace {

// Windows spells an absolute path with a drive and backslashes: Wine shows
// the build folder as Z:\work\..., and a root-relative name such as
// "/src/t.cpp" is qualified onto the current drive. Without its drive and
// with forward slashes, the path reads as it does on POSIX. Only the path's
// own characters change: a CP932 text may hold 0x5C as a second byte.
std::string WithoutDrives(const std::string& text) {
  static const std::regex drivePath(R"((^|[^\w.])[A-Za-z]:([\\/][^\s"'|()<>*?:\x80-\xff]*))");
  std::string out;
  std::size_t done = 0;
  for (auto it = std::sregex_iterator(text.begin(), text.end(), drivePath);
       it != std::sregex_iterator(); ++it) {
    const std::size_t at = static_cast<std::size_t>(it->position(2));
    std::string path = it->str(2);
    std::replace(path.begin(), path.end(), '\\', '/');
    out += text.substr(done, at - 2 - done) + path;
    done = at + path.size();
  }
  return out + text.substr(done);
}

} // namespace

std::string PxStable(const std::string& text) {
  std::string stable = WithoutDrives(text);
  const std::string tests = PROBEX_TEST_SOURCE_DIR, sources = tests + "/scenarios";
  for (std::size_t at; (at = stable.find(sources)) != std::string::npos;)
    stable.replace(at, sources.size(), "<scenarios>");
  // The tests' own lines move with every edit: only their file is kept.
  for (std::size_t at; (at = stable.find(tests)) != std::string::npos;) {
    const std::size_t open = stable.find('(', at), close = stable.find(')', open);
    stable.replace(at, close - at + 1,
                   "<tests>" + stable.substr(at + tests.size(), open - at - tests.size()) + "(N)");
  }
  stable =
      std::regex_replace(stable, std::regex("(-->Time |--&gt;Time |CaTm\\|)-?[0-9]+ms"), "$1Nms");
  return std::regex_replace(
      stable,
      std::regex("(Ver\\.\\|1\\.40\\()[A-Z][a-z]{2} [ 0-9]\\d \\d{4} \\d\\d:\\d\\d:\\d\\d\\)"),
      "$1<built>)");
}

void CPxObjectDirTest::SetUp() {
  m_dir = PxMakeTempDir("objects");
  ASSERT_FALSE(m_dir.empty());
  PxSetEnv("PROBEX_OBJECT_DIR", m_dir);
}

void CPxObjectDirTest::TearDown() {
  PxSetEnv("PROBEX_OBJECT_DIR", "");
  std::error_code ignored;
  std::filesystem::remove_all(m_dir, ignored);
}

int CPxObjectDirTest::ObjectFileCount() const {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_dir))
    count += entry.path().filename() != ".lock";
  return count;
}

std::size_t PxCount(const std::string& text, const std::string& part) {
  std::size_t count = 0;
  for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
    ++count;
  return count;
}

#if !defined(_WIN32)
SPxPlantedFolder PxPlantDefaultFolder(const std::function<void(const std::string&)>& plant) {
  const std::string shm = PxMakeTempDir("shm"), home = PxMakeTempDir("home");
  SPxPlantedFolder planted;
  planted.folder = shm + "/probex-" + std::to_string(::geteuid());
  planted.fallback = home + "/.cache/probex-objects";
  planted.env = {{"PROBEX_OBJECT_DIR", ""},
                 {"XDG_RUNTIME_DIR", ""},
                 {"PROBEX_TEST_SHM_DIR", shm},
                 {"HOME", home}};
  plant(planted.folder);
  return planted;
}
#endif
