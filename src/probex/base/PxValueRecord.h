// The text of a values record (NPxSideKind::kValues): where two strings
// first differ ("-" for other values), then each side's expression and
// value, the five fields apart by tabs. A field's control bytes are written
// escaped as \xNN, so no field holds a tab or a line end of its own.
#pragma once

#include <string>
#include <string_view>

namespace NPxValueRecord {

struct SSide {
  std::string expression;
  std::string value;
};

struct SValues {
  long long differsAt = -1;
  SSide left, right;
};

std::string Write(const SValues& values);
// False for a text that is no values record; values is then unspecified.
bool Read(std::string_view text, SValues& values);

} // namespace NPxValueRecord
