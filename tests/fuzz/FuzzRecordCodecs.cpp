// The texts of the log's records read from any bytes, and what a read
// accepts written again: the writing must read back to the same values,
// byte for byte where the format has one spelling. Each line of the input
// (ended by a carriage return or a line feed, so that logs seed it) is
// tried as every kind of text, and so is a record line's text; those texts
// in turn are steps that the line continuation writes and reads back.
#include "probex/base/PxCoverageRecordCodec.h"
#include "probex/base/PxInlineText.h"
#include "probex/base/PxLineContinuation.h"
#include "probex/base/PxLocationCodec.h"
#include "probex/base/PxRecordCodec.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace {

[[noreturn]] void Mismatch(const char* what, std::string_view given, std::string_view written) {
  std::fprintf(stderr, "%s: read \"%.*s\", wrote \"%.*s\"\n", what, static_cast<int>(given.size()),
               given.data(), static_cast<int>(written.size()), written.data());
  std::abort();
}

// The writers take the values the library has: int, and C strings.
bool FitsInt(long long value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}
bool HasNoZero(std::string_view text) {
  return text.find('\0') == std::string_view::npos;
}

void Location(std::string_view text) {
  NPxLocationCodec::SLocation read;
  if (!NPxLocationCodec::Read(text, read) || !HasNoZero(read.path))
    return;
  const std::string path(read.path);
  CPxInlineText written;
  NPxLocationCodec::Append(written, path.c_str(), read.line);
  NPxLocationCodec::SLocation again;
  if (!NPxLocationCodec::Read(written.c_str(), again) || again.path != read.path ||
      again.line != read.line)
    Mismatch("location", text, written.c_str());
}

void Step(std::string_view text) {
  NPxCoverageRecord::SStep read;
  if (!NPxCoverageRecord::ReadStep(text, read) || !FitsInt(read.cookie) || !FitsInt(read.line) ||
      !FitsInt(read.point) || read.elapsed > std::numeric_limits<std::uint32_t>::max())
    return;
  char written[NPxCoverageRecord::kStepTextSize];
  const std::size_t length = NPxCoverageRecord::WriteStep(
      written, static_cast<int>(read.cookie), static_cast<int>(read.line),
      static_cast<int>(read.point), read.timed, static_cast<std::uint32_t>(read.elapsed));
  NPxCoverageRecord::SStep again;
  if (length >= sizeof written ||
      !NPxCoverageRecord::ReadStep(std::string_view(written, length), again) ||
      again.cookie != read.cookie || again.line != read.line || again.point != read.point ||
      again.timed != read.timed || again.elapsed != read.elapsed)
    Mismatch("step", text, std::string_view(written, length < sizeof written ? length : 0));
}

void Count(std::string_view text) {
  NPxCoverageRecord::SCount read;
  if (!NPxCoverageRecord::ReadCount(text, read) || !FitsInt(read.cookie) || !FitsInt(read.line) ||
      read.total > std::numeric_limits<std::uint32_t>::max())
    return;
  // The total as one point's counter, and split over two points.
  const std::uint32_t total = static_cast<std::uint32_t>(read.total);
  const std::uint32_t one[] = {total};
  const std::uint32_t two[] = {total / 2, total - total / 2};
  const bool splits = two[1] <= 0xFFFFFFu;
  for (std::size_t points = 1; points <= (splits ? 2u : 1u); ++points) {
    const std::string written =
        NPxCoverageRecord::CountText(static_cast<int>(read.cookie), static_cast<int>(read.line),
                                     points == 1 ? one : two, points);
    NPxCoverageRecord::SCount again;
    if (!NPxCoverageRecord::ReadCount(written, again) || again.cookie != read.cookie ||
        again.line != read.line || again.total != read.total)
      Mismatch("count", text, written);
  }
}

void Passable(std::string_view text) {
  NPxCoverageRecord::SPassable read;
  if (!NPxCoverageRecord::ReadPassable(text, read) || !FitsInt(read.cookie) ||
      !FitsInt(read.first) || !HasNoZero(read.name))
    return;
  const std::string name(read.name);
  const std::string written = NPxCoverageRecord::PassableText(
      static_cast<int>(read.cookie), static_cast<int>(read.first), name.c_str(),
      reinterpret_cast<const unsigned char*>(read.table.data()),
      static_cast<int>(read.table.size()));
  NPxCoverageRecord::SPassable again;
  if (!NPxCoverageRecord::ReadPassable(written, again) || again.cookie != read.cookie ||
      again.first != read.first || again.name != name || again.table != read.table)
    Mismatch("passable", text, written);
}

// A record line has one spelling: written again, it is the same bytes.
void RecordLine(std::string_view line) {
  NPxLogFormat::SRecordLine read;
  if (!NPxLogFormat::ReadRecordLine(line, read))
    return;
  std::string written;
  NPxLogFormat::AppendRecord(written, read.kind, read.text);
  if (written.size() != line.size() + 1 || written.compare(0, line.size(), line) != 0 ||
      written.back() != NPxLogFormat::kRecordEnd)
    Mismatch("record line", line, written);
}

// The writer's and the reader's last step texts go in step: what the reader
// rebuilds from each continuation is the text the writer was given.
class CContinuations {
public:
  void Step(std::string_view text) {
    std::size_t from = 0;
    switch (NPxLineContinuation::Next(m_writerLast, text.data(), text.size(), from)) {
    case NPxLineContinuation::EStep::Record:
      m_readerLast.assign(text);
      break;
    case NPxLineContinuation::EStep::Repeat:
      break;
    case NPxLineContinuation::EStep::Continuation: {
      const std::string_view line = text.substr(from);
      std::string rebuilt;
      if (!NPxLineContinuation::IsContinuation(line) ||
          !NPxLineContinuation::Rebuild(m_readerLast, line, rebuilt) || rebuilt != text)
        Mismatch("continuation", text, rebuilt);
      // A step's continuation must never read as a record of its own.
      NPxCoverageRecord::SStep step;
      NPxLogFormat::SRecordLine record;
      if (NPxCoverageRecord::ReadStep(text, step) && NPxLogFormat::ReadRecordLine(line, record))
        Mismatch("continuation read as a record", text, line);
      break;
    }
    }
    if (m_readerLast != m_writerLast || m_writerLast != text)
      Mismatch("continuation's last text", text, m_readerLast);
  }

private:
  std::string m_writerLast, m_readerLast;
};

// One line, as every kind of text; a record line's text too.
void Texts(std::string_view line) {
  Location(line);
  Step(line);
  Count(line);
  Passable(line);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  CContinuations continuations;
  for (std::size_t begin = 0; begin <= input.size();) {
    const std::size_t end = std::min(input.find_first_of("\r\n", begin), input.size());
    const std::string_view line = input.substr(begin, end - begin);
    RecordLine(line);
    Texts(line);
    NPxLogFormat::SRecordLine record;
    if (NPxLogFormat::ReadRecordLine(line, record)) {
      Texts(record.text);
      continuations.Step(record.text);
    } else {
      continuations.Step(line);
    }
    begin = end + 1;
  }
  return 0;
}
