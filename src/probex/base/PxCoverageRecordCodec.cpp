#include "probex/base/PxCoverageRecordCodec.h"

#include "probex/base/PxFormat.h"
#include "probex/base/PxNumberText.h"

#include <cstdio>

namespace NPxCoverageRecord {
namespace {

constexpr char kStepSigil[] = "?";
constexpr char kPassableSigil[] = "!";
constexpr char kStepPoint[] = "(";
constexpr char kStepElapsed[] = "):";
constexpr char kCountPoints[] = "();";
constexpr char kPassableName[] = ";";
constexpr char kPassableTable[] = "(0):";
constexpr std::size_t kCounterDigits = 6;
// A single counter past 0xFFFFFF: seven or eight digits.
constexpr std::size_t kWideCounterDigits = 8;

// The head every coverage text opens with: a sigil and two numbers, then
// the literal that ends the head.
bool ReadHead(std::string_view text, std::size_t& pos, std::string_view sigil, long long& first,
              long long& second, std::string_view end) {
  return PxReadLiteral(text, pos, sigil) && PxReadDecimal(text, pos, first) &&
         PxReadLiteral(text, pos, ",") && PxReadDecimal(text, pos, second) &&
         PxReadLiteral(text, pos, end);
}

} // namespace

std::size_t WriteStep(char (&out)[kStepTextSize], int cookie, int line, int point, bool timed,
                      std::uint32_t elapsed) {
  const int length = timed ? std::snprintf(out, sizeof out, "?%d,%d(%d):%X", cookie, line, point,
                                           static_cast<unsigned>(elapsed))
                           : std::snprintf(out, sizeof out, "?%d,%d(%d", cookie, line, point);
  return static_cast<std::size_t>(length);
}

bool ReadStep(std::string_view text, SStep& step) {
  std::size_t pos = 0;
  SStep read;
  if (!ReadHead(text, pos, kStepSigil, read.cookie, read.line, kStepPoint) ||
      !PxReadDecimal(text, pos, read.point))
    return false;
  if (pos != text.size()) {
    if (!PxReadLiteral(text, pos, kStepElapsed) || !PxReadHex(text, pos, 0, read.elapsed) ||
        pos != text.size())
      return false;
    read.timed = true;
  }
  step = read;
  return true;
}

std::string CountText(int cookie, int line, const std::uint32_t* counts, std::size_t points) {
  std::string text = PxFormat("?%d,%d();", cookie, line);
  text.reserve(text.size() + kCounterDigits * points);
  for (std::size_t i = 0; i < points; ++i) {
    char counter[16];
    const int length =
        std::snprintf(counter, sizeof counter, "%06X", static_cast<unsigned>(counts[i]));
    text.append(counter, static_cast<std::size_t>(length));
  }
  return text;
}

bool ReadCount(std::string_view text, SCount& count) {
  std::size_t pos = 0;
  SCount read;
  if (!ReadHead(text, pos, kStepSigil, read.cookie, read.line, kCountPoints))
    return false;
  const std::size_t digits = text.size() - pos;
  if (digits > kCounterDigits && digits <= kWideCounterDigits) {
    if (!PxReadHex(text, pos, 0, read.total) || pos != text.size())
      return false;
  } else {
    if (digits % kCounterDigits != 0)
      return false;
    while (pos < text.size()) {
      std::uint64_t counter = 0;
      if (!PxReadHex(text, pos, kCounterDigits, counter))
        return false;
      read.total += counter;
    }
  }
  count = read;
  return true;
}

std::string PassableText(int cookie, int first, const char* name, const unsigned char* table,
                         int count) {
  std::string text = PxFormat("!%d,%d;%s(0):", cookie, first, name ? name : "");
  if (table && count > 0) {
    static const char kDigits[] = "0123456789ABCDEF";
    text.reserve(text.size() + 2 * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
      text += kDigits[table[i] >> 4];
      text += kDigits[table[i] & 0x0F];
    }
  }
  return text;
}

bool ReadPassable(std::string_view text, SPassable& passable) {
  std::size_t pos = 0;
  if (!ReadHead(text, pos, kPassableSigil, passable.cookie, passable.first, kPassableName))
    return false;
  // The name may hold "(0):" itself; the table's hex digits never do.
  const std::size_t nameEnd = text.rfind(kPassableTable);
  if (nameEnd == std::string_view::npos || nameEnd < pos)
    return false;
  passable.name = text.substr(pos, nameEnd - pos);
  pos = nameEnd + sizeof kPassableTable - 1;
  if ((text.size() - pos) % 2 != 0)
    return false;
  passable.table.clear();
  while (pos < text.size()) {
    std::uint64_t byte = 0;
    if (!PxReadHex(text, pos, 2, byte))
      return false;
    passable.table += static_cast<char>(byte);
  }
  return true;
}

} // namespace NPxCoverageRecord
