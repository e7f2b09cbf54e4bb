// Finding logs: a long viewer name cut as the writer cuts it, the marker
// name, a log's spelling as its writer made it, and the newest of a program.
#include "LogLocator.h"

#include "common/PxChildProcess.h"

#include <unistd.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// The temporary directory, which the test main makes for each test.
std::string Temp() {
  return std::string(std::getenv("TMPDIR")) + "/";
}

TEST(LogLocator, CutsALongViewerNameAndKeepsItsStamp) {
  const std::string stamp = ".20120919_08484200.qpxlog";
  EXPECT_EQ(NLogLocator::LogPathFromViewerName("/d/" + std::string(300, 'p') + stamp),
            Temp() + std::string(255 - stamp.size(), 'p') + stamp);
  EXPECT_EQ(NLogLocator::MarkerName("C:\\Temp\\t.exe.qpxlog"), "C__Temp_t.exe.qpxlog_Mutex!");
}

TEST(LogLocator, SpellsALogOfTheTemporaryDirectoryAsItsWriterDid) {
  const std::string linked = PxMakeTempDir("link") + "/to-temp";
  ASSERT_EQ(::symlink(Temp().c_str(), linked.c_str()), 0);
  EXPECT_EQ(NLogLocator::WriterSpelling(linked + "/a.qpxlog"), Temp() + "a.qpxlog");
  EXPECT_EQ(NLogLocator::WriterSpelling(Temp() + "./a.qpxlog"), Temp() + "a.qpxlog");
  const std::filesystem::path cwd = std::filesystem::current_path();
  std::filesystem::current_path(Temp());
  EXPECT_EQ(NLogLocator::WriterSpelling("a.qpxlog"), Temp() + "a.qpxlog");
  std::filesystem::current_path(cwd);
  // Elsewhere a log keeps the name it was given.
  EXPECT_EQ(NLogLocator::WriterSpelling("/var/log/a.qpxlog"), "/var/log/a.qpxlog");
  EXPECT_EQ(NLogLocator::WriterSpelling(Temp() + "sub/a.qpxlog"), Temp() + "sub/a.qpxlog");
}

TEST(LogLocator, PicksTheNewestLogOfAProgramByItsStamp) {
  EXPECT_EQ(NLogLocator::LatestLog("/bin/prog"), "");
  for (const char* title : {"prog.20260101_12000000.qpxlog", "prog.20260101_12000099.qpxlog",
                            "prog.20260101_120000100.qpxlog", // sequence number past 99
                            "prog.20251231_23595900.qpxlog", "prog.exe.20270101_00000000.qpxlog",
                            "otherprog.20270101_00000000.qpxlog",
                            "prog.20270101_00000000.qpxlog.html", "prog.2027x101_00000000.qpxlog"})
    std::ofstream(Temp() + title) << "x";
  EXPECT_EQ(NLogLocator::LatestLog("/some/dir/prog"), Temp() + "prog.20260101_120000100.qpxlog");
  EXPECT_EQ(NLogLocator::LatestLog("prog.exe"), Temp() + "prog.exe.20270101_00000000.qpxlog");
}

} // namespace
