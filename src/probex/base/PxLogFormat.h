// The log file's name and place, shared by its writer, the viewer and the
// tests; docs/LOG-FORMAT.md describes them. Its records: PxRecordCodec.h.
#pragma once

#include <cstddef>
#include <string>

namespace NPxLogFormat {

constexpr char kLogExtension[] = ".qpxlog";
// ".YYYYMMDD_HHMMSS" before the sequence number.
constexpr std::size_t kStampHead = 16;
// Longest file name most file systems accept.
constexpr std::size_t kMaxFileTitle = 255;

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
