// The texts of the coverage records, written by the recorder and read by
// the viewer in one place:
//   step     ("PxLn") "?cookie,line(point", or "?cookie,line(point):elapsed"
//                     with the elapsed milliseconds in hex when they changed;
//   count    ("PxCt") "?cookie,line();" and six hex digits per point's counter;
//   passable ("PxPs") "!cookie,first;name(0):" and two hex digits per table
//                     byte; bit b of byte k marks line first + 8k + b.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace NPxCoverageRecord {

// Room for the longest step text and its terminator.
constexpr std::size_t kStepTextSize = 48;

struct SStep {
  long long cookie = 0;
  long long line = 0;
  long long point = 0;
  bool timed = false; // whether the text carries the elapsed time
  std::uint64_t elapsed = 0;
};
// Writes the step text into out without allocating; returns its length.
std::size_t WriteStep(char (&out)[kStepTextSize], int cookie, int line, int point, bool timed,
                      std::uint32_t elapsed);
bool ReadStep(std::string_view text, SStep& step);

struct SCount {
  long long cookie = 0;
  long long line = 0;
  std::uint64_t total = 0; // the arrivals at every point of the line
};
// A counter past 0xFFFFFF is written wider; only a line of a single point
// reads back such a counter, any other is refused.
std::string CountText(int cookie, int line, const std::uint32_t* counts, std::size_t points);
bool ReadCount(std::string_view text, SCount& count);

struct SPassable {
  long long cookie = 0;
  long long first = 0;
  std::string_view name; // within the text read
  std::string table;     // the table's bytes
};
// A null name counts as empty; no table, or a count of 0 or below, adds no bytes.
std::string PassableText(int cookie, int first, const char* name, const unsigned char* table,
                         int count);
bool ReadPassable(std::string_view text, SPassable& passable);

} // namespace NPxCoverageRecord
