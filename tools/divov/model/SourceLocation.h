// A source location as the log carries it, "path(line):", taken apart.
#pragma once

#include <string>
#include <string_view>

struct SSourceLocation {
  std::string file; // CP932 bytes
  long long line = 0;
};

// False when the text does not end in "(number):" after a non-empty path.
bool PxParseLocation(std::string_view text, SSourceLocation& location);
