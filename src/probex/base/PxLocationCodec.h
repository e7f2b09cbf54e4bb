// A source location as records carry it, "path(line):", written and read in
// one place. The path may hold parentheses of its own: the line is in the
// last pair.
#pragma once

#include "probex/base/PxInlineText.h"

#include <string_view>

namespace NPxLocationCodec {

// Appends "path(line):"; an ordinary path costs no allocation.
void Append(CPxInlineText& out, const char* path, long long line);

struct SLocation {
  std::string_view path; // CP932 bytes, within the text read
  long long line = 0;
};
// False when the text does not end in "(number):" after a non-empty path.
bool Read(std::string_view text, SLocation& location);

} // namespace NPxLocationCodec
