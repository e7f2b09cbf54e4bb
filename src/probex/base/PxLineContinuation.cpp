#include "probex/base/PxLineContinuation.h"

namespace NPxLineContinuation {

EStep Next(std::string& last, const char* text, std::size_t length, std::size_t& from) {
  if (length > kLongestContinued) {
    last.assign(text, length);
    return EStep::Record;
  }
  if (last.size() == length && last.compare(0, length, text, length) == 0)
    return EStep::Repeat;
  // A "(" at the very start shares nothing: the prefix is never empty.
  const std::size_t open = std::string_view(text, length).rfind('(');
  const bool found = open != std::string_view::npos && open != 0;
  const bool continues = found && last.size() > open && last.compare(0, open, text, open) == 0 &&
                         last[open] == '(' && last.find('(', open + 1) == std::string::npos;
  last.assign(text, length);
  if (!continues)
    return EStep::Record;
  from = open;
  return EStep::Continuation;
}

bool Rebuild(std::string& last, std::string_view line, std::string& text) {
  const std::size_t open = last.size() > 1 ? last.rfind('(') : std::string::npos;
  if (open == std::string::npos || open == 0)
    return false;
  text.assign(last, 0, open);
  text.append(line);
  last = text;
  return true;
}

} // namespace NPxLineContinuation
