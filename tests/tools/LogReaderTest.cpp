// The reader against hand-made log bytes cut at every place: records kept
// whole, continuation lines expanded, a record cut in two held back.
// Damage and an empty log are checked through the program.
#include "LogReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// The record's four-letter code and a bar, to compare reads as "kind|text".
std::string Code(const SLogRecord& record) {
  const unsigned k = record.kind;
  return {static_cast<char>(k >> 24), static_cast<char>(k >> 16), static_cast<char>(k >> 8),
          static_cast<char>(k), '|'};
}

TEST(LogReader, GivesTheSameRecordsWhereverTheBytesAreCut) {
  // A continuation may follow other kinds; it continues the last "PxLn".
  const std::string log = "Tit.|Probex\rVer.|1.40\rClCp|caption\rTtOk|\rEtc.|line\nfeed \x82\xa0\r"
                          "PxLn|?3,120(1):2F\r(2\rEtc.|between\r(3):31\rPxLn|?10,7(1\r(12\r";
  // Each record as "kind|text" and a carriage return.
  const std::string expected =
      "Tit.|Probex\rVer.|1.40\rClCp|caption\rTtOk|\rEtc.|line\nfeed \x82\xa0\r"
      "PxLn|?3,120(1):2F\rPxLn|?3,120(2\rEtc.|between\rPxLn|?3,120(3):31\r"
      "PxLn|?10,7(1\rPxLn|?10,7(12\r";
  for (std::size_t cut = 0; cut <= log.size(); ++cut) {
    SCOPED_TRACE("cut at " + std::to_string(cut));
    CLogReader reader;
    std::string records;
    const auto keep = [&records](const SLogRecord& r) { records += Code(r) + r.text + "\r"; };
    reader.Feed(log.data(), cut, keep);
    // Only the lines whose carriage return came with the first piece are out.
    EXPECT_EQ(std::count(records.begin(), records.end(), '\r'),
              std::count(log.begin(), log.begin() + cut, '\r'));
    reader.Feed(log.data() + cut, log.size() - cut, keep);
    reader.Finish(keep);
    EXPECT_EQ(records, expected);
    EXPECT_TRUE(reader.Issues().Empty());
  }
}

} // namespace
