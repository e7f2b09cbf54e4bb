// The reader against hand-made log bytes: pieces of any size, continuation
// lines, and damage of each sort.
#include "LogReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

const char kHeader[] = "Tit.|Probex\rVer.|1.40(Jan  1 2026 00:00:00)\r";

std::vector<SLogRecord> ReadAll(const std::string& bytes, CLogReader& reader) {
  std::vector<SLogRecord> records;
  const auto keep = [&records](const SLogRecord& record) { records.push_back(record); };
  reader.Feed(bytes.data(), bytes.size(), keep);
  reader.Finish(keep);
  return records;
}

std::string Kind(const SLogRecord& record) {
  const unsigned k = record.kind;
  return {static_cast<char>(k >> 24), static_cast<char>(k >> 16), static_cast<char>(k >> 8),
          static_cast<char>(k)};
}

// "kind|text" per record, to compare whole reads at a glance.
std::vector<std::string> Flat(const std::vector<SLogRecord>& records) {
  std::vector<std::string> flat;
  for (const SLogRecord& record : records)
    flat.push_back(Kind(record) + "|" + record.text);
  return flat;
}

TEST(LogReader, ReadsRecordsWithTheirOffsetsAndKeepsTextBytesAsTheyStand) {
  const std::string log = std::string(kHeader) + "ClCp|caption\rTtOk|\rEtc.|line\nfeed \x82\xa0\r";
  CLogReader reader;
  const std::vector<SLogRecord> records = ReadAll(log, reader);
  EXPECT_EQ(Flat(records),
            (std::vector<std::string>{"Tit.|Probex", "Ver.|1.40(Jan  1 2026 00:00:00)",
                                      "ClCp|caption", "TtOk|", "Etc.|line\nfeed \x82\xa0"}));
  EXPECT_EQ(records[2].offset, std::string(kHeader).size());
  EXPECT_EQ(records[2].kind, PX_MSG_CLASS_CAPTION);
  EXPECT_TRUE(reader.Issues().Empty());
}

TEST(LogReader, GivesTheSameRecordsWhereverTheBytesAreCut) {
  const std::string log = std::string(kHeader) +
                          "CaCp|case\rPxLn|?3,120(1):2F\r(2\rTtEx|a == b\rPxLn|?3,121(1\r(2):30\r";
  CLogReader whole;
  const std::vector<std::string> expected = Flat(ReadAll(log, whole));
  for (std::size_t cut = 1; cut < log.size(); ++cut) {
    CLogReader reader;
    std::vector<SLogRecord> records;
    const auto keep = [&records](const SLogRecord& record) { records.push_back(record); };
    reader.Feed(log.data(), cut, keep);
    const std::size_t early = records.size();
    reader.Feed(log.data() + cut, log.size() - cut, keep);
    reader.Finish(keep);
    EXPECT_EQ(Flat(records), expected) << "cut at " << cut;
    // A record cut in two is held back, never shown half: only the lines
    // whose carriage return came with the first piece are out.
    EXPECT_EQ(early, static_cast<std::size_t>(std::count(log.begin(), log.begin() + cut, '\r')))
        << "cut at " << cut;
    EXPECT_TRUE(reader.Issues().Empty()) << "cut at " << cut;
  }
}

TEST(LogReader, ExpandsContinuationLinesFromTheLastLineRecord) {
  // A continuation may follow other kinds; it continues the last "PxLn".
  const std::string log =
      std::string(kHeader) + "PxLn|?3,120(1):2F\r(2\rEtc.|between\r(3):31\rPxLn|?10,7(1\r(12\r";
  CLogReader reader;
  EXPECT_EQ(Flat(ReadAll(log, reader)),
            (std::vector<std::string>{"Tit.|Probex", "Ver.|1.40(Jan  1 2026 00:00:00)",
                                      "PxLn|?3,120(1):2F", "PxLn|?3,120(2", "Etc.|between",
                                      "PxLn|?3,120(3):31", "PxLn|?10,7(1", "PxLn|?10,7(12"}));
}

TEST(LogReader, SkipsDamageCountsItAndReadsOn) {
  const std::string log = std::string(kHeader) +
                          "(1\r"                    // continuation before any "PxLn"
                          "garbage without a bar\r" // neither record nor continuation
                          "Zz|short\r"              // a code too short
                          "Etc.|first\r"
                          "Etc.|cut by a hole" +
                          std::string(5, '\0') +
                          "ClCp|after the hole\r"
                          "Qqqq|unknown kind\r"
                          "TtNg|last, without its end";
  CLogReader reader;
  const std::vector<SLogRecord> records = ReadAll(log, reader);
  EXPECT_EQ(Flat(records),
            (std::vector<std::string>{"Tit.|Probex", "Ver.|1.40(Jan  1 2026 00:00:00)",
                                      "Etc.|first", "ClCp|after the hole", "Qqqq|unknown kind",
                                      "TtNg|last, without its end"}));
  const CReadIssues& issues = reader.Issues();
  EXPECT_EQ(issues.Count(READ_ISSUE_ORPHAN_LINE), 1u);
  EXPECT_EQ(issues.Count(READ_ISSUE_DAMAGED_LINE), 3u);
  EXPECT_EQ(issues.Count(READ_ISSUE_ZERO_BYTES), 5u);
  EXPECT_EQ(issues.Count(READ_ISSUE_UNKNOWN_KIND), 1u);
  EXPECT_EQ(issues.Count(READ_ISSUE_UNTERMINATED), 1u);
  EXPECT_EQ(issues.Count(READ_ISSUE_MISSING_HEADER), 0u);
  const std::vector<std::string> lines = issues.Describe();
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_EQ(lines[0], "skipped 3 damaged lines (first at byte " +
                          std::to_string(std::string(kHeader).size() + 3) + ")");
}

TEST(LogReader, NotesALogThatLacksItsHeaderOnce) {
  CLogReader reader;
  const std::vector<SLogRecord> records = ReadAll("ClCp|a\rClCp|b\r", reader);
  EXPECT_EQ(records.size(), 2u);
  EXPECT_EQ(reader.Issues().Count(READ_ISSUE_MISSING_HEADER), 1u);
  EXPECT_EQ(reader.Issues().Describe(), std::vector<std::string>{"the log has no header records"});
}

TEST(LogReader, AnEmptyLogGivesNothingAndNoIssue) {
  CLogReader reader;
  EXPECT_TRUE(ReadAll("", reader).empty());
  EXPECT_TRUE(reader.Issues().Empty());
}

} // namespace
