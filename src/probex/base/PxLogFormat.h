// The pieces of the log file's format that its writer, the viewer and the
// tests share; docs/LOG-FORMAT.md describes the grammar.
#pragma once

#include "probex/base/PxMsgType.h"

#include <cstddef>
#include <string>

namespace NPxLogFormat {

constexpr char kKindSeparator = '|';
constexpr char kRecordEnd = '\r';
// The two header records that open every log; no sink ever sends them.
constexpr unsigned kHeaderTitle = PX_MSG_CODE('T', 'i', 't', '.');
constexpr unsigned kHeaderVersion = PX_MSG_CODE('V', 'e', 'r', '.');
// Written by the library itself, last, when the process ended abnormally:
// "<class caption> / case <n> <case caption>: <what ended it>".
constexpr unsigned kAbnormalEnd = PX_MSG_CODE('E', 'n', 'd', '.');
constexpr char kLogExtension[] = ".qpxlog";
// ".YYYYMMDD_HHMMSS" before the sequence number.
constexpr std::size_t kStampHead = 16;
// Longest file name most file systems accept.
constexpr std::size_t kMaxFileTitle = 255;

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
// True for the records the writer adds of its own: the headers and "End.".
constexpr bool IsWriterKind(unsigned kind) {
  return IsHeaderKind(kind) || kind == kAbnormalEnd;
}
// "Tit.|<product>\rVer.|<version>(<build date> <build time>)\r".
std::string HeaderRecords();

// ".YYYYMMDD_hhmmssNN.qpxlog"; the sequence may pass 99.
std::string Stamp(int year, int month, int day, int hour, int minute, int second, int sequence);
// Where the stamp starts in a log's file title (its dot); npos when the
// title does not end in one.
std::size_t StampStart(const std::string& title);
// A title too long for the file system keeps its stamp and loses the end of
// the executable's name instead.
std::string FitTitle(const std::string& title, std::size_t stampLength);
// The log path and "_Mutex!", backslashes and colons made underscores.
std::string MarkerName(const std::string& logPath);

} // namespace NPxLogFormat
