// Following a log as it grows: each pause of the follow appends the next
// piece, so the order of reads and writes is fixed and nothing is timed.
#include "LogFollower.h"

#include "common/PxChildProcess.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

struct SGrowth {
  const char* name;
  std::string start;               // in the file before the follow; empty: no file yet
  std::vector<std::string> pieces; // appended one per pause; the writer then ends
  std::vector<std::string> seen;   // records' texts, "--" where the reader caught up
  std::size_t unterminated;
};

TEST(LogFollower, ShowsEachRecordOnceItsCarriageReturnHasArrived) {
  for (const SGrowth& growth : std::vector<SGrowth>{
           {"pieces",
            "Tit.|Probex\rEtc.|one\rEtc.|tw",
            {"o\rEtc.|thr", "", "ee\rPxLn|?1,2(1\r", "(2\rEtc.|four\r"},
            {"Probex", "one", "--", "two", "--", "--", "three", "?1,2(1", "--", "?1,2(2", "four"},
            0},
           {"made late", "", {"", "Tit.|late\r"}, {"--", "--", "late"}, 0},
           {"cut last record",
            "Tit.|whole\r",
            {"Etc.|never ended"},
            {"whole", "--", "never ended"},
            1}}) {
    SCOPED_TRACE(growth.name);
    const std::string path = PxMakeTempDir("follow") + "/run.qpxlog";
    const auto append = [&path](const std::string& bytes) {
      std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
    };
    if (!growth.start.empty())
      append(growth.start);
    std::size_t written = 0;
    std::vector<std::string> seen;
    CLogFollower::SHooks hooks;
    hooks.writerAlive = [&] { return written < growth.pieces.size(); };
    hooks.idle = [&seen] { seen.push_back("--"); };
    hooks.pause = [&] { append(growth.pieces[written++]); };
    CLogReader reader;
    CLogFollower follower(reader,
                          [&seen](const SLogRecord& record) { seen.push_back(record.text); });
    std::string error;
    ASSERT_TRUE(follower.Read(path, true, hooks, error)) << error;
    EXPECT_EQ(seen, growth.seen);
    EXPECT_EQ(reader.Issues().Count(READ_ISSUE_UNTERMINATED), growth.unterminated);
    EXPECT_EQ(reader.Issues().Describe().size(), growth.unterminated);
  }
}

} // namespace
