#include "probex/base/PxRecordCodec.h"

#include "probex/base/PxApi.h"

namespace NPxLogFormat {
namespace {

constexpr std::size_t kKindLength = 4;

} // namespace

bool IsKnownKind(unsigned kind) {
#define PX_MSG_KNOWN(name, a, b, c, d) kind == name ||
  return PX_MSG_KINDS(PX_MSG_KNOWN) false;
#undef PX_MSG_KNOWN
}

void AppendRecord(std::string& out, unsigned kind, std::string_view text) {
  const SKindCode code = KindCode(kind);
  out.append(code.text, code.length);
  out += kKindSeparator;
  out.append(text);
  out += kRecordEnd;
}

std::string HeaderRecords() {
  std::string records;
  AppendRecord(records, kHeaderTitle, PX_PRODUCT_NAME);
  AppendRecord(records, kHeaderVersion,
               std::string(PX_VERSION_TEXT) + "(" + __DATE__ + " " + __TIME__ + ")");
  return records;
}

bool ReadRecordLine(std::string_view line, SRecordLine& record) {
  if (line.size() < kKindLength + 1 || line[kKindLength] != kKindSeparator)
    return false;
  for (std::size_t i = 0; i < kKindLength; ++i) {
    const unsigned char c = static_cast<unsigned char>(line[i]);
    if (c <= 0x20 || c >= 0x7F || c == kKindSeparator)
      return false;
  }
  record.kind = PX_MSG_CODE(line[0], line[1], line[2], line[3]);
  record.text = line.substr(kKindLength + 1);
  return true;
}

} // namespace NPxLogFormat
