#include "probex/base/PxLocationCodec.h"

#include "probex/base/PxNumberText.h"

namespace NPxLocationCodec {
namespace {

constexpr char kOpen[] = "(";
constexpr char kClose[] = "):";

} // namespace

void Append(CPxInlineText& out, const char* path, long long line) {
  out.Append(path);
  out.Append(kOpen, sizeof kOpen - 1).AppendNumber(line).Append(kClose, sizeof kClose - 1);
}

bool Read(std::string_view text, SLocation& location) {
  const std::string_view close = kClose;
  if (text.size() < close.size() + 2 || text.substr(text.size() - close.size()) != close)
    return false;
  const std::size_t open = text.rfind(kOpen[0]);
  if (open == std::string_view::npos || open == 0)
    return false;
  std::size_t pos = open + 1;
  long long line = 0;
  if (!PxReadDecimal(text, pos, line) || pos != text.size() - close.size())
    return false;
  location.path = text.substr(0, open);
  location.line = line;
  return true;
}

} // namespace NPxLocationCodec
