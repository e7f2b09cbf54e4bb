// A record of the log, "kind|text" and a carriage return, written and read in
// one place; docs/LOG-FORMAT.md describes the grammar.
#pragma once

#include "probex/base/PxMsgType.h"
#include "probex/base/PxSideKind.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace NPxLogFormat {

constexpr char kKindSeparator = '|';
// Ends every record; a text therefore cannot carry one.
constexpr char kRecordEnd = '\r';
// The kinds the writer adds of its own, beside the ones a sink sends. A kind
// added later goes here and into IsWriterKind: a reader that skips kinds it
// does not know still reads every other record.
// The two header records that open every log; no sink ever sends them.
constexpr unsigned kHeaderTitle = PX_MSG_CODE('T', 'i', 't', '.');
constexpr unsigned kHeaderVersion = PX_MSG_CODE('V', 'e', 'r', '.');
// Written by the library itself, last, when the process ended abnormally:
// "<class caption> / case <n> <case caption>: <what ended it>".
constexpr unsigned kAbnormalEnd = PX_MSG_CODE('E', 'n', 'd', '.');

// A kind's characters, most significant byte first, up to a zero byte.
struct SKindCode {
  char text[4];
  std::size_t length;
};
constexpr SKindCode KindCode(unsigned kind) {
  SKindCode code{{}, 0};
  for (int shift = 24; shift >= 0; shift -= 8) {
    const char c = static_cast<char>((kind >> shift) & 0xFFu);
    if (c == '\0')
      break;
    code.text[code.length++] = c;
  }
  return code;
}

// True for the eighteen kinds a sink sends.
bool IsKnownKind(unsigned kind);
// True for "Tit." and "Ver.".
constexpr bool IsHeaderKind(unsigned kind) {
  return kind == kHeaderTitle || kind == kHeaderVersion;
}
// True for the records the writer adds of its own: the headers, "End." and
// the side records.
constexpr bool IsWriterKind(unsigned kind) {
  return IsHeaderKind(kind) || kind == kAbnormalEnd || NPxSideKind::IsSideKind(kind);
}

// Appends "kind|text" and the record's end.
void AppendRecord(std::string& out, unsigned kind, std::string_view text);
// "Tit.|<product>\rVer.|<version>(<build date> <build time>)\r".
std::string HeaderRecords();

struct SRecordLine {
  unsigned kind = 0;
  std::string_view text; // within the line read
};
// Takes apart a line without its record end: four printable ASCII
// characters other than the bar, the bar, the text. False for anything
// else (a continuation line, damage).
bool ReadRecordLine(std::string_view line, SRecordLine& record);

} // namespace NPxLogFormat
