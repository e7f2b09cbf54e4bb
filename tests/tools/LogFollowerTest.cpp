// Following a log as it grows: each pause of the follow appends the next
// piece, so the order of reads and writes is fixed and nothing is timed.
#include "LogFollower.h"

#include "common/PxChildProcess.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <fstream>

namespace {

struct SGrowingLog {
  std::string path = PxMakeTempDir("follow") + "/run.qpxlog";
  std::vector<std::string> pieces; // appended one per pause
  std::size_t written = 0;
  int idles = 0;
  std::vector<std::string> seen; // "kind|text", with a "--" where the reader caught up

  void Append(const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
  }
  CLogFollower::SHooks Hooks() {
    CLogFollower::SHooks hooks;
    // The writer lives until its last piece is in the file.
    hooks.writerAlive = [this] { return written < pieces.size(); };
    hooks.idle = [this] {
      ++idles;
      seen.push_back("--");
    };
    hooks.pause = [this] { Append(pieces[written++]); };
    return hooks;
  }
  bool Follow(CLogReader& reader, std::string& error) {
    CLogFollower follower(reader,
                          [this](const SLogRecord& record) { seen.push_back(record.text); });
    return follower.Read(path, true, Hooks(), error);
  }
};

TEST(LogFollower, ShowsEachRecordOnceItsCarriageReturnHasArrived) {
  SGrowingLog log;
  log.Append("Tit.|Probex\rEtc.|one\rEtc.|tw");
  log.pieces = {"o\rEtc.|thr", "", "ee\rPxLn|?1,2(1\r", "(2\rEtc.|four\r"};
  CLogReader reader;
  std::string error;
  ASSERT_TRUE(log.Follow(reader, error)) << error;
  EXPECT_EQ(log.seen, (std::vector<std::string>{"Probex", "one", "--", "two", "--", "--", "three",
                                                "?1,2(1", "--", "?1,2(2", "four"}));
  EXPECT_TRUE(reader.Issues().Empty());
}

TEST(LogFollower, WaitsForALogThatItsLivingWriterHasNotMadeYet) {
  SGrowingLog log;
  log.pieces = {"", "Etc.|late\r"};
  CLogReader reader;
  std::string error;
  ASSERT_TRUE(log.Follow(reader, error)) << error;
  EXPECT_EQ(log.seen, (std::vector<std::string>{"--", "--", "late"}));
}

TEST(LogFollower, TakesACutLastRecordAsItStandsOnceTheWriterIsGone) {
  SGrowingLog log;
  log.Append("Etc.|whole\r");
  log.pieces = {"Etc.|never ended"};
  CLogReader reader;
  std::string error;
  ASSERT_TRUE(log.Follow(reader, error)) << error;
  EXPECT_EQ(log.seen, (std::vector<std::string>{"whole", "--", "never ended"}));
  EXPECT_EQ(reader.Issues().Count(READ_ISSUE_UNTERMINATED), 1u);
}

TEST(LogFollower, ReadsOnceWithoutFollowingAndFailsOnWhatCannotBeRead) {
  SGrowingLog log;
  CLogReader reader;
  CLogFollower follower(reader, [](const SLogRecord&) {});
  CLogFollower::SHooks never;
  std::string error;
  EXPECT_FALSE(follower.Read(log.path, false, never, error));
  EXPECT_NE(error.find("No such file or directory"), std::string::npos) << error;
  const std::string dir = PxMakeTempDir("dir");
  EXPECT_FALSE(follower.Read(dir, false, never, error));
  EXPECT_NE(error.find("is a directory"), std::string::npos) << error;
  // A pipe without a writer would block the open: a follow refuses it.
  const std::string fifo = dir + "/fifo";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  CLogFollower::SHooks alive;
  alive.writerAlive = [] { return true; };
  EXPECT_FALSE(follower.Read(fifo, true, alive, error));
  EXPECT_EQ(error, "cannot follow " + fifo + ": it is not a regular file");
}

} // namespace
