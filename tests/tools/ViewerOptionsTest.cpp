// What the command line names: every form an option may take and the
// mistakes; a long /x name cut as the writer cuts it, the marker name, a
// log's spelling as its writer made it, and the newest log of a program.
#include "app/ViewerOptions.h"
#include "app/LogLocator.h"
#include "probex/base/PxLogFormat.h"
#include "probex/platform/OwnFile.h"

#include "common/PxTestFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#if !defined(_WIN32)
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

TEST(ViewerOptions, TakesOptionsInBothFormsAndInAnyOrder) {
  const SViewerOptions o =
      PxParseViewerOptions({"--html", "r.html", "log", "--junit=j.xml", "-f", "--lcov", "c.info",
                            "--color=never", "--encoding", "EUC-JP", "--errors", "--lang", "en"});
  EXPECT_EQ(std::tie(o.action, o.log, o.html, o.junit, o.lcov, o.follow, o.colour, o.encoding,
                     o.errors, o.language),
            std::make_tuple(EViewerAction::Run, "log", "r.html", "j.xml", "c.info", true,
                            EColourMode::Never, "EUC-JP", true, "en"));
  EXPECT_EQ(PxParseViewerOptions({"--color", "x"}).colour, EColourMode::Always);
  EXPECT_EQ(PxParseViewerOptions({"--", "--html"}).log, "--html");
  EXPECT_EQ(PxParseViewerOptions({"/x", "/w/t.qpxlog"}).viewerName, "/w/t.qpxlog");
  EXPECT_EQ(PxParseViewerOptions({"/x", "\"C:\\t.qpxlog\""}).viewerName, "C:\\t.qpxlog");
}

TEST(ViewerOptions, HelpAndVersionWinOverMistakesThatComeAfterThem) {
  EXPECT_EQ(PxParseViewerOptions({"log", "--help", "--bogus"}).action, EViewerAction::Help);
  EXPECT_EQ(PxParseViewerOptions({"-V"}).action, EViewerAction::Version);
  for (const char* line : {"--bogus -h", "", "a b", "a --latest p", "/x", "a --html",
                           "a --html=", "a --color=sometimes", "a --lang=fr"}) {
    std::istringstream words(line);
    const std::vector<std::string> args{std::istream_iterator<std::string>(words), {}};
    const SViewerOptions o = PxParseViewerOptions(args);
    EXPECT_EQ(o.action, EViewerAction::UsageError) << line;
    EXPECT_NE(o.error, "") << line;
  }
}

// The temporary directory, which the test main makes for each test.
std::string Temp() {
  return std::string(std::getenv("TMPDIR")) + static_cast<char>(fs::path::preferred_separator);
}

TEST(LogLocator, NamesALogAsItsWriterDid) {
  const std::string stamp = ".20120919_08484200.qpxlog"; // a long name is cut, not its stamp
  EXPECT_EQ(NLogLocator::LogPathFromViewerName("/d/" + std::string(300, 'p') + stamp),
            Temp() + std::string(255 - stamp.size(), 'p') + stamp);
  EXPECT_EQ(NPxLogFormat::MarkerName("C:\\Temp\\t.exe.qpxlog"), "C__Temp_t.exe.qpxlog_Mutex!");
  EXPECT_EQ(NLogLocator::WriterSpelling(Temp() + "./a.qpxlog"), Temp() + "a.qpxlog");
  const std::filesystem::path cwd = fs::current_path();
  fs::current_path(Temp());
  EXPECT_EQ(NLogLocator::WriterSpelling("a.qpxlog"), Temp() + "a.qpxlog");
  fs::current_path(cwd);
  // Elsewhere a log keeps the name it was given.
  EXPECT_EQ(NLogLocator::WriterSpelling("/var/log/a.qpxlog"), "/var/log/a.qpxlog");
  EXPECT_EQ(NLogLocator::WriterSpelling(Temp() + "sub/a.qpxlog"), Temp() + "sub/a.qpxlog");
  const std::string linked = PxMakeTempDir("link") + "/to-temp";
  std::error_code error;
  fs::create_directory_symlink(Temp(), linked, error);
  if (error) // Wine, and Windows without the right to make links
    GTEST_SKIP() << "no symbolic link can be made here: " << error.message();
  EXPECT_EQ(NLogLocator::WriterSpelling(linked + "/a.qpxlog"), Temp() + "a.qpxlog");
}

TEST(LogLocator, PicksTheNewestLogOfAProgramByItsStamp) {
  EXPECT_EQ(NLogLocator::LatestLog("/bin/prog"), "");
  const auto make = [](const std::string& title) { std::ofstream(Temp() + title) << "x"; };
  for (const char* title :
       {"prog.20260101_12000000.qpxlog", "prog.20260101_12000099.qpxlog",
        "prog.20260101_120000100.qpxlog", // sequence number past 99
        "prog.20251231_23595900.qpxlog", "prog.exe.20260101_12000050.qpxlog",
        // newer, but of other programs or not logs
        "otherprog.20270101_00000000.qpxlog", "progx.exe.20270101_00000000.qpxlog",
        "prog2.20270101_00000000.qpxlog", "prog.exe.exe.20280101_00000000.qpxlog",
        "prog.20270101_00000000.qpxlog.html", "prog.2027x101_00000000.qpxlog",
        "solo.exe.20260101_12000000.qpxlog"})
    make(title);
  // A bare name takes the newest of its own and its .exe's logs; ".exe" only its own.
  EXPECT_EQ(NLogLocator::LatestLog("/some/dir/prog"), Temp() + "prog.20260101_120000100.qpxlog");
  EXPECT_EQ(NLogLocator::LatestLog("prog.exe"), Temp() + "prog.exe.20260101_12000050.qpxlog");
  EXPECT_EQ(NLogLocator::LatestLog("solo"), Temp() + "solo.exe.20260101_12000000.qpxlog");
  make("prog.exe.20260101_120000101.qpxlog");
  EXPECT_EQ(NLogLocator::LatestLog("prog"), Temp() + "prog.exe.20260101_120000101.qpxlog");
  EXPECT_EQ(NLogLocator::LatestLog("prog.exe"), Temp() + "prog.exe.20260101_120000101.qpxlog");
}

#if !defined(_WIN32) // owners are POSIX notions here
// Another user's file, or a link, never counts as this user's log, however
// new its name. Root gives a file away; anyone else finds root's files.
TEST(LogLocator, TakesOnlyThisUsersRegularFiles) {
  const std::string own = Temp() + "mine.20260101_12000000.qpxlog";
  std::ofstream(own) << "x";
  for (const char* name : {"mine", "mine.exe"}) { // the .exe's logs are refused alike
    const std::string link = Temp() + name + ".20270101_12000000.qpxlog";
    fs::create_symlink(own, link);
    EXPECT_FALSE(NPxPlatform::IsOwnFile(link));
    EXPECT_EQ(NLogLocator::LatestLog("mine"), own) << name;
    fs::remove(link);
  }
  if (::geteuid() != 0) {
    EXPECT_FALSE(NPxPlatform::IsOwnFile("/etc/passwd")); // root's, and regular
    return;
  }
  for (const char* name : {"mine", "mine.exe"}) {
    const std::string theirs = Temp() + name + ".20280101_12000000.qpxlog";
    std::ofstream(theirs) << "x";
    ASSERT_TRUE(NPxPlatform::IsOwnFile(theirs));
    ASSERT_EQ(::chown(theirs.c_str(), 54321, 54321), 0);
    EXPECT_FALSE(NPxPlatform::IsOwnFile(theirs));
    EXPECT_EQ(NLogLocator::LatestLog("mine"), own) << name;
  }
}
#endif

} // namespace
