// Finding logs: from the library's viewer name, the newest of a program,
// and the marker name of a log.
#include "LogLocator.h"

#include "common/PxChildProcess.h"

#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

std::string TempDir() {
  return std::string(std::getenv("TMPDIR")) + "/";
}

void Touch(const std::string& title) {
  std::ofstream(TempDir() + title) << "x";
}

TEST(LogLocator, FindsTheLogOfAViewerNameInTheTemporaryDirectory) {
  EXPECT_EQ(NLogLocator::LogPathFromViewerName("/work/bin/t.exe.20120919_08484200.qpxlog"),
            TempDir() + "t.exe.20120919_08484200.qpxlog");
  // A title too long for a file system loses the end of the program's name
  // and keeps its stamp, as the writer made it.
  const std::string stamp = ".20120919_08484200.qpxlog";
  const std::string title = std::string(300, 'p') + stamp;
  const std::string path = NLogLocator::LogPathFromViewerName("/d/" + title);
  EXPECT_EQ(path, TempDir() + std::string(255 - stamp.size(), 'p') + stamp);
}

TEST(LogLocator, MakesTheMarkerNameOfALog) {
  EXPECT_EQ(NLogLocator::MarkerName("C:\\Temp\\mytest.exe.20120919_08484200.qpxlog"),
            "C__Temp_mytest.exe.20120919_08484200.qpxlog_Mutex!");
  EXPECT_EQ(NLogLocator::MarkerName("/tmp/a.qpxlog"), "/tmp/a.qpxlog_Mutex!");
}

TEST(LogLocator, SpellsALogOfTheTemporaryDirectoryAsItsWriterDid) {
  const std::string temp = TempDir();
  const std::string linked = PxMakeTempDir("link") + "/to-temp";
  ASSERT_EQ(::symlink(temp.c_str(), linked.c_str()), 0);
  EXPECT_EQ(NLogLocator::WriterSpelling(linked + "/a.qpxlog"), temp + "a.qpxlog");
  EXPECT_EQ(NLogLocator::WriterSpelling(temp + "./a.qpxlog"), temp + "a.qpxlog");
  const std::string cwd = std::filesystem::current_path().string();
  std::filesystem::current_path(temp);
  EXPECT_EQ(NLogLocator::WriterSpelling("a.qpxlog"), temp + "a.qpxlog");
  std::filesystem::current_path(cwd);
  // Elsewhere a log keeps the name it was given.
  EXPECT_EQ(NLogLocator::WriterSpelling("/var/log/a.qpxlog"), "/var/log/a.qpxlog");
  EXPECT_EQ(NLogLocator::WriterSpelling(temp + "sub/a.qpxlog"), temp + "sub/a.qpxlog");
}

TEST(LogLocator, PicksTheNewestLogOfAProgramByItsStamp) {
  EXPECT_EQ(NLogLocator::LatestLog("/bin/prog"), "");
  Touch("prog.20260101_12000000.qpxlog");
  Touch("prog.20260101_12000099.qpxlog");
  Touch("prog.20260101_120000100.qpxlog"); // sequence number past 99
  Touch("prog.20251231_23595900.qpxlog");
  Touch("prog.exe.20270101_00000000.qpxlog"); // another program
  Touch("otherprog.20270101_00000000.qpxlog");
  Touch("prog.20270101_00000000.qpxlog.html");
  Touch("prog.2027x101_00000000.qpxlog");
  EXPECT_EQ(NLogLocator::LatestLog("/some/dir/prog"), TempDir() + "prog.20260101_120000100.qpxlog");
  EXPECT_EQ(NLogLocator::LatestLog("prog.exe"), TempDir() + "prog.exe.20270101_00000000.qpxlog");
}

} // namespace
