#include "probex/base/PxValueRecord.h"

#include "probex/base/PxControlText.h"
#include "probex/base/PxNumberText.h"

namespace NPxValueRecord {
namespace {

constexpr char kFieldEnd = '\t';
constexpr char kNoDifference[] = "-";
constexpr std::size_t kFields = 5;

} // namespace

std::string Write(const SValues& values) {
  std::string text = values.differsAt < 0 ? kNoDifference : std::to_string(values.differsAt);
  for (const SSide* side : {&values.left, &values.right}) {
    text += kFieldEnd;
    NPxControlText::Append(text, side->expression, "");
    text += kFieldEnd;
    NPxControlText::Append(text, side->value, "");
  }
  return text;
}

bool Read(std::string_view text, SValues& values) {
  std::string_view fields[kFields];
  std::size_t count = 0;
  for (std::size_t from = 0;; ++count) {
    const std::size_t end = text.find(kFieldEnd, from);
    if (count == kFields)
      return false;
    fields[count] = text.substr(from, end == std::string_view::npos ? end : end - from);
    if (end == std::string_view::npos)
      break;
    from = end + 1;
  }
  if (count + 1 != kFields)
    return false;
  if (fields[0] == kNoDifference) {
    values.differsAt = -1;
  } else {
    std::size_t pos = 0;
    if (!PxReadDecimal(fields[0], pos, values.differsAt) || pos != fields[0].size() ||
        values.differsAt < 0)
      return false;
  }
  values.left = SSide{std::string(fields[1]), std::string(fields[2])};
  values.right = SSide{std::string(fields[3]), std::string(fields[4])};
  return true;
}

} // namespace NPxValueRecord
