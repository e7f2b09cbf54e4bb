#include "model/SourceLocation.h"

#include "model/NumberText.h"

bool PxParseLocation(std::string_view text, SSourceLocation& location) {
  // The path may hold parentheses itself; the line is in the last pair.
  if (text.size() < 4 || text.substr(text.size() - 2) != "):")
    return false;
  const std::size_t open = text.rfind('(');
  if (open == std::string_view::npos || open == 0)
    return false;
  std::size_t pos = open + 1;
  long long line = 0;
  if (!PxReadDecimal(text, pos, line) || pos != text.size() - 2)
    return false;
  location.file.assign(text.substr(0, open));
  location.line = line;
  return true;
}
