// Every record text that the library writes and the viewer reads: written,
// then read, it gives back what went in, at the edges of its numbers and
// with the bytes that a reader could take for its own marks.
#include "probex/base/PxRecordCodec.h"
#include "probex/base/PxApi.h"
#include "probex/base/PxCoverageRecordCodec.h"
#include "probex/base/PxFailureRow.h"
#include "probex/base/PxLineContinuation.h"
#include "probex/base/PxLocationCodec.h"
#include "probex/base/PxNameRecord.h"
#include "probex/base/PxValueRecord.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// Names that hold the marks of the texts around them: parentheses, the
// kind's bar, "(0):", and a CP932 character whose second byte is 0x5C.
const std::string kLongName(5000, 'n');
const std::vector<std::string> kNames = {
    "/src/a.cpp",
    "C:\\src(1)\\b(2).cpp",
    "dir|x/c.cpp",
    "odd(0):name.cpp",
    "/\x94\x5C/\x94\x5C.cpp",
    "v(7)",
    "",
    kLongName,
};

// The text of a record up to its first record end, as a reader gets it.
std::string FirstLine(unsigned kind, const std::string& text) {
  std::string record;
  NPxLogFormat::AppendRecord(record, kind, text);
  NPxLogFormat::SRecordLine line;
  EXPECT_TRUE(
      NPxLogFormat::ReadRecordLine(std::string_view(record).substr(0, record.find('\r')), line));
  EXPECT_EQ(line.kind, kind);
  return std::string(line.text);
}

} // namespace

TEST(PxRecordCodec, LocationsComeBackAsWrittenWhateverTheirPathHolds) {
  const long long lines[] = {0, 1, -1, INT_MAX, INT_MIN};
  for (const std::string& name : kNames) {
    for (const long long number : lines) {
      CPxInlineText text;
      NPxLocationCodec::Append(text, name.c_str(), number);
      NPxLocationCodec::SLocation read;
      const std::string line = FirstLine(PX_MSG_TEST_LINE, text.c_str());
      const bool readable = NPxLocationCodec::Read(line, read);
      SCOPED_TRACE(text.c_str());
      // A location names a file: one without a path is refused.
      ASSERT_EQ(readable, !name.empty());
      if (readable) {
        EXPECT_EQ(read.path, name);
        EXPECT_EQ(read.line, number);
      }
    }
  }
  // Beyond what a line number of the library can be, and texts that are no
  // location: refused, never half read.
  NPxLocationCodec::SLocation read;
  for (const char* text : {"/a.cpp(9223372036854775807):", "/a.cpp(12)",
                           "/a.cpp(1x):", "(3):", "/a.cpp():", "/a.cpp12):"})
    EXPECT_FALSE(NPxLocationCodec::Read(text, read)) << text;
}

TEST(PxRecordCodec, CoverageRecordsComeBackAsWritten) {
  struct SStepRow {
    int cookie, line, point;
    bool timed;
    std::uint32_t elapsed;
  };
  // The last row is the longest step text there can be.
  const SStepRow steps[] = {{0, 0, 1, false, 0},
                            {3, -5, 2, true, 0},
                            {7, 65535, 65535, true, 0xABCDEF},
                            {INT_MAX, INT_MAX, INT_MAX, true, 0xFFFFFFFF},
                            {INT_MIN, INT_MIN, INT_MIN, true, 0xFFFFFFFF}};
  for (const SStepRow& row : steps) {
    char text[NPxCoverageRecord::kStepTextSize];
    const std::size_t length =
        NPxCoverageRecord::WriteStep(text, row.cookie, row.line, row.point, row.timed, row.elapsed);
    ASSERT_EQ(length, std::string(text).size()) << text;
    NPxCoverageRecord::SStep read;
    ASSERT_TRUE(NPxCoverageRecord::ReadStep(FirstLine(PX_MSG_COVERAGE_LINE, text), read)) << text;
    EXPECT_EQ(read.cookie, row.cookie);
    EXPECT_EQ(read.line, row.line);
    EXPECT_EQ(read.point, row.point);
    EXPECT_EQ(read.timed, row.timed);
    EXPECT_EQ(read.elapsed, row.timed ? row.elapsed : 0u) << text;
  }

  struct SCountRow {
    int cookie, line;
    std::vector<std::uint32_t> counts;
    bool readable; // a wide counter beside others cannot be told apart
    std::uint64_t total;
  };
  const SCountRow counts[] = {
      {0, 0, {}, true, 0},
      {1, 65535, {1}, true, 1},
      {2, 7, {0, 0xFFFFFF, 5}, true, 0x1000004},
      {3, 8, {0x1000000}, true, 0x1000000},
      {4, 9, {0xFFFFFFFF}, true, 0xFFFFFFFF},
      {INT_MIN, INT_MIN, {2, 3}, true, 5},
      {INT_MAX, INT_MAX, {0x1000000, 1}, false, 0},
  };
  for (const SCountRow& row : counts) {
    const std::string text =
        NPxCoverageRecord::CountText(row.cookie, row.line, row.counts.data(), row.counts.size());
    NPxCoverageRecord::SCount read;
    ASSERT_EQ(NPxCoverageRecord::ReadCount(FirstLine(PX_MSG_COVERAGE_COUNT, text), read),
              row.readable)
        << text;
    if (row.readable) {
      EXPECT_EQ(read.cookie, row.cookie) << text;
      EXPECT_EQ(read.line, row.line) << text;
      EXPECT_EQ(read.total, row.total) << text;
    }
  }

  const std::string table("\x00\x01\x80\xFF\x5C", 5);
  for (const std::string& name : kNames) {
    for (const std::string& bytes : {std::string(), table}) {
      const std::string text = NPxCoverageRecord::PassableText(
          INT_MIN, INT_MAX, name.c_str(), reinterpret_cast<const unsigned char*>(bytes.data()),
          static_cast<int>(bytes.size()));
      const std::string line = FirstLine(PX_MSG_COVERAGE_PASSABLE, text);
      NPxCoverageRecord::SPassable read;
      ASSERT_TRUE(NPxCoverageRecord::ReadPassable(line, read));
      EXPECT_EQ(read.cookie, INT_MIN);
      EXPECT_EQ(read.first, INT_MAX);
      EXPECT_EQ(read.name, name);
      EXPECT_EQ(read.table, bytes);
    }
  }
  // A null name is an empty one.
  const std::string unnamed = NPxCoverageRecord::PassableText(1, 2, nullptr, nullptr, 0);
  NPxCoverageRecord::SPassable read;
  ASSERT_TRUE(NPxCoverageRecord::ReadPassable(unnamed, read));
  EXPECT_EQ(read.name, "");
}

TEST(PxRecordCodec, ACarriageReturnEndsTheRecordAndLeavesAnUnreadableRest) {
  // The log cannot carry a CR inside a text: the record ends there, what is
  // before it is refused as a location or a coverage record, and the rest
  // is a line of its own that reads as no record.
  CPxInlineText location;
  NPxLocationCodec::Append(location, "/a\r.cpp", 12);
  const std::string passable = NPxCoverageRecord::PassableText(
      1, 2, "/a\r.cpp", reinterpret_cast<const unsigned char*>("\x01"), 1);
  NPxLocationCodec::SLocation where;
  NPxCoverageRecord::SPassable lines;
  EXPECT_FALSE(NPxLocationCodec::Read(FirstLine(PX_MSG_TEST_LINE, location.c_str()), where));
  EXPECT_FALSE(
      NPxCoverageRecord::ReadPassable(FirstLine(PX_MSG_COVERAGE_PASSABLE, passable), lines));
  NPxLogFormat::SRecordLine rest;
  EXPECT_FALSE(NPxLogFormat::ReadRecordLine(".cpp(12):", rest));
  EXPECT_FALSE(NPxLineContinuation::IsContinuation(".cpp(12):"));
}

TEST(PxRecordCodec, StepTextsContinueTheLastUpToTheLimitAndReadBackWhole) {
  // Each text after "?1,2(1": how it is written, and the texts a reader
  // gets back (an exact repeat leaves nothing).
  struct SRow {
    std::string text;
    NPxLineContinuation::EStep step;
  };
  using NPxLineContinuation::EStep;
  // Texts of 258, 259 and 260 bytes: the longest that may continue is 259.
  const std::string below = "?1,3(" + std::string(253, '9');
  const std::string at = below + "9";
  const std::string above = at + "9";
  const SRow rows[] = {
      {"?1,2(1", EStep::Record},
      {"?1,2(1", EStep::Repeat},
      {"?1,2(2", EStep::Continuation},
      {"?1,2(2):1F", EStep::Continuation},
      {"?1,2(3):(1F", EStep::Record}, // shares less than all before its last "("
      {"?1,3(1", EStep::Record},
      {"(1", EStep::Record}, // a "(" first of all shares nothing
      {"?1,3(1", EStep::Record},
      {below, EStep::Continuation},
      {at, EStep::Continuation},
      {above, EStep::Record},
      {"?1,3(2", EStep::Continuation},
      {"?\x94\x5C(|(2", EStep::Record},
      {"?\x94\x5C(|(3", EStep::Continuation},
  };
  std::string writerLast;
  std::string readerLast;
  for (const SRow& row : rows) {
    std::size_t from = 0;
    const EStep step =
        NPxLineContinuation::Next(writerLast, row.text.data(), row.text.size(), from);
    ASSERT_EQ(step, row.step) << row.text;
    EXPECT_EQ(writerLast, row.text);
    if (step == EStep::Repeat)
      continue;
    if (step == EStep::Record) {
      readerLast = FirstLine(PX_MSG_COVERAGE_LINE, row.text);
      continue;
    }
    const std::string line = row.text.substr(from);
    ASSERT_TRUE(NPxLineContinuation::IsContinuation(line)) << line;
    std::string read;
    ASSERT_TRUE(NPxLineContinuation::Rebuild(readerLast, line, read)) << line;
    EXPECT_EQ(read, row.text);
    EXPECT_EQ(readerLast, row.text);
  }
  // A continuation with no step text before it stands for nothing.
  std::string none;
  std::string read;
  EXPECT_FALSE(NPxLineContinuation::Rebuild(none, "(2", read));
}

TEST(PxRecordCodec, RecordsHeadersAndFailureRowsComeBackAsWritten) {
  for (const std::string& text : kNames)
    for (const unsigned kind :
         {unsigned{PX_MSG_ETC}, unsigned{PX_MSG_TEST_NG}, NPxLogFormat::kAbnormalEnd})
      EXPECT_EQ(FirstLine(kind, text), text);

  const std::string headers = NPxLogFormat::HeaderRecords();
  const std::size_t end = headers.find('\r');
  ASSERT_EQ(headers.back(), '\r');
  ASSERT_EQ(headers.find('\r', end + 1), headers.size() - 1);
  NPxLogFormat::SRecordLine title, version;
  ASSERT_TRUE(NPxLogFormat::ReadRecordLine(std::string_view(headers).substr(0, end), title));
  ASSERT_TRUE(NPxLogFormat::ReadRecordLine(
      std::string_view(headers).substr(end + 1, headers.size() - end - 2), version));
  EXPECT_EQ(title.kind, NPxLogFormat::kHeaderTitle);
  EXPECT_EQ(title.text, PX_PRODUCT_NAME);
  EXPECT_EQ(version.kind, NPxLogFormat::kHeaderVersion);
  EXPECT_EQ(version.text.substr(0, sizeof PX_VERSION_TEXT), PX_VERSION_TEXT "(");
  EXPECT_EQ(version.text.back(), ')');

  for (const std::string& failure : kNames) {
    const std::string row = NPxFailureRow::Write(failure.c_str());
    std::string_view read;
    ASSERT_TRUE(NPxFailureRow::Read(row, read));
    EXPECT_EQ(read, failure);
  }
  std::string_view read;
  for (const char* row : {"", "*", "* x", ">> Failures \t1", "**x"})
    EXPECT_FALSE(NPxFailureRow::Read(row, read)) << row;
}

TEST(PxRecordCodec, ValuesComeBackAsWrittenAndControlBytesNeverEndAField) {
  // Expressions and values that hold the marks of the record and of the
  // text around it; what a reader gets back, control bytes shown escaped.
  struct SRow {
    NPxValueRecord::SValues written;
    NPxValueRecord::SValues read;
  };
  const SRow rows[] = {
      {{-1, {"x", "4"}, {"y", "5"}}, {-1, {"x", "4"}, {"y", "5"}}},
      {{0, {"", ""}, {"", ""}}, {0, {"", ""}, {"", ""}}},
      // The longest offset a reader takes: no string comes near it.
      {{999999999999999999, {"a|b", "\"\x94\x5C\""}, {"-", "(1):"}},
       {999999999999999999, {"a|b", "\"\x94\x5C\""}, {"-", "(1):"}}},
      {{7, {"s\tt", "line\r\nforged|x"}, {"\x7F", std::string("\0", 1)}},
       {7, {"s\\x09t", "line\\x0d\\x0aforged|x"}, {"\\x7f", "\\x00"}}},
  };
  for (const SRow& row : rows) {
    const std::string text = NPxValueRecord::Write(row.written);
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos) << text;
    NPxValueRecord::SValues read;
    ASSERT_TRUE(NPxValueRecord::Read(FirstLine(NPxSideKind::kValues, text), read)) << text;
    EXPECT_EQ(read.differsAt, row.read.differsAt) << text;
    for (const auto& [got, expected] :
         {std::pair(&read.left, &row.read.left), std::pair(&read.right, &row.read.right)}) {
      EXPECT_EQ(got->expression, expected->expression) << text;
      EXPECT_EQ(got->value, expected->value) << text;
    }
  }
  // Texts that are no values record: too few or too many fields, an offset
  // that is no number or is negative.
  NPxValueRecord::SValues read;
  for (const char* text : {"", "-", "-\ta\t1\tb", "-\ta\t1\tb\t2\tc", "x\ta\t1\tb\t2",
                           "-2\ta\t1\tb\t2", "1x\ta\t1\tb\t2", "\ta\t1\tb\t2"})
    EXPECT_FALSE(NPxValueRecord::Read(text, read)) << text;
  // Names come back as written, a control byte escaped; an empty text names
  // nothing.
  for (const std::string& name : kNames) {
    std::string read;
    ASSERT_EQ(
        NPxNameRecord::Read(FirstLine(NPxSideKind::kCaseName, NPxNameRecord::Write(name)), read),
        !name.empty());
    if (!name.empty()) {
      EXPECT_EQ(read, name);
    }
  }
  std::string name;
  ASSERT_TRUE(NPxNameRecord::Read(NPxNameRecord::Write("C\r\nX"), name));
  EXPECT_EQ(name, "C\\x0d\\x0aX");
  // The side kinds are the writer's own: a reader skips none of them as damage.
  for (const unsigned kind :
       {NPxSideKind::kValues, NPxSideKind::kClassName, NPxSideKind::kCaseName}) {
    EXPECT_TRUE(NPxLogFormat::IsWriterKind(kind));
    EXPECT_FALSE(NPxLogFormat::IsKnownKind(kind));
  }
}
