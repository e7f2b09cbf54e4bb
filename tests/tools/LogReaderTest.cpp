// The reader against hand-made log bytes cut at every place: records kept
// whole, continuation lines expanded, a record cut in two held back; and
// the follow, where each pause appends the next piece, so the order of
// reads and writes is fixed and nothing is timed. Damage and an empty log
// are checked through the program.
#include "app/LogFollower.h"

#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

namespace {

// A continuation may follow other kinds; it continues the last "PxLn". The
// log's transcript and reports are approved among the hand-made logs.
TEST(LogReader, GivesTheSameRecordsWhereverTheBytesAreCut) {
  const std::string log =
      PxReadFile(std::string(PROBEX_TEST_SOURCE_DIR) + "/tools/logs/continuations.qpxlog");
  std::string whole; // each record as "kind|text" and a carriage return
  for (std::size_t cut = log.size() + 1; cut-- > 0;) { // the first takes the log whole
    SCOPED_TRACE("cut at " + std::to_string(cut));
    CLogReader reader;
    std::string records;
    const auto keep = [&records](const SLogRecord& r) {
      records += PxKindText(r.kind) + "|" + r.text + "\r";
    };
    reader.Feed(log.data(), cut, keep);
    // Only the lines whose carriage return came with the first piece are out.
    EXPECT_EQ(std::count(records.begin(), records.end(), '\r'),
              std::count(log.begin(), log.begin() + cut, '\r'));
    reader.Feed(log.data() + cut, log.size() - cut, keep);
    reader.Finish(keep);
    if (whole.empty())
      whole = records;
    EXPECT_EQ(records, whole);
    EXPECT_TRUE(reader.Issues().Empty());
  }
  PxExpectApproved("tools/approved/continuations-records.txt", whole);
}

struct SGrowth {
  std::string start;               // in the file before the follow; empty: no file yet
  std::vector<std::string> pieces; // appended one per pause; the writer then ends
  std::string seen;                // records' texts, "--" where the reader caught up
  std::size_t unterminated;
};

TEST(LogFollower, ShowsEachRecordOnceItsCarriageReturnHasArrived) {
  for (const SGrowth& growth :
       std::vector<SGrowth>{{"Tit.|Probex\rEtc.|one\rEtc.|tw",
                             {"o\rEtc.|thr", "", "ee\rPxLn|?1,2(1\r", "(2\rEtc.|four\r"},
                             "Probex|one|--|two|--|--|three|?1,2(1|--|?1,2(2|four|",
                             0},
                            {"", {"", "Tit.|late\r"}, "--|--|late|", 0},
                            {"Tit.|whole\r", {"Etc.|never ended"}, "whole|--|never ended|", 1}}) {
    SCOPED_TRACE(growth.seen);
    const std::string path = PxMakeTempDir("follow") + "/run.qpxlog";
    const auto append = [&path](const std::string& bytes) {
      std::ofstream(path, std::ios::binary | std::ios::app) << bytes;
    };
    if (!growth.start.empty())
      append(growth.start);
    std::size_t written = 0;
    std::string seen;
    CLogFollower::SHooks hooks;
    hooks.writerAlive = [&] { return written < growth.pieces.size(); };
    hooks.idle = [&seen] { seen += "--|"; };
    hooks.pause = [&] { append(growth.pieces[written++]); };
    CLogReader reader;
    CLogFollower follower(reader, [&seen](const SLogRecord& record) { seen += record.text + "|"; });
    std::string error;
    ASSERT_TRUE(follower.Read(path, true, hooks, error)) << error;
    EXPECT_EQ(seen, growth.seen);
    EXPECT_EQ(reader.Issues().Count(EReadIssue::Unterminated), growth.unterminated);
    EXPECT_EQ(reader.Issues().Describe().size(), growth.unterminated);
  }
}

} // namespace
