// How a step ("PxLn") text may follow the last one in the log: an exact
// repeat leaves nothing, and a text that shares everything before its last
// "(" with the last text is written from that "(" on, as a line of its own
// without kind and bar. Writer and reader both keep the last step text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace NPxLineContinuation {

// Texts this long or shorter may continue the last; a longer one always
// gets a full record.
constexpr std::size_t kLongestContinued = 259;

enum class EStep {
  Record,       // a full record
  Repeat,       // nothing is written
  Continuation, // the text from `from` on, as a line of its own
};
// The writer's side: how text (of length bytes) is written after last, the
// last step text, which becomes text. Allocates only when last grows.
EStep Next(std::string& last, const char* text, std::size_t length, std::size_t& from);

// The reader's side: whether a line that is no record continues the last
// step text.
constexpr bool IsContinuation(std::string_view line) {
  return !line.empty() && line[0] == '(';
}
// The step text a continuation line stands for, which becomes last; false
// when last has nothing to continue.
bool Rebuild(std::string& last, std::string_view line, std::string& text);

} // namespace NPxLineContinuation
