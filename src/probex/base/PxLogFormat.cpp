#include "probex/base/PxLogFormat.h"

#include "probex/base/PxFormat.h"

namespace NPxLogFormat {

std::string Stamp(int year, int month, int day, int hour, int minute, int second, int sequence) {
  return PxFormat(".%04d%02d%02d_%02d%02d%02d%02d%s", year, month, day, hour, minute, second,
                  sequence, kLogExtension);
}

std::size_t StampStart(const std::string& title) {
  const std::size_t ext = sizeof kLogExtension - 1;
  if (title.size() < kStampHead + 1 + ext ||
      title.compare(title.size() - ext, ext, kLogExtension) != 0)
    return std::string::npos;
  const std::size_t dot = title.rfind('.', title.size() - ext - 1);
  if (dot == std::string::npos || title.size() - ext - dot < kStampHead + 1 ||
      title[dot + 9] != '_')
    return std::string::npos;
  for (std::size_t i = dot + 1; i < title.size() - ext; ++i)
    if (i != dot + 9 && (title[i] < '0' || title[i] > '9'))
      return std::string::npos;
  return dot;
}

std::string FitTitle(const std::string& title, std::size_t stampLength) {
  if (title.size() <= kMaxFileTitle)
    return title;
  return title.substr(0, kMaxFileTitle - stampLength) + title.substr(title.size() - stampLength);
}

std::string MarkerName(const std::string& logPath) {
  std::string marker = logPath + "_Mutex!";
  for (char& c : marker)
    if (c == '\\' || c == ':')
      c = '_';
  return marker;
}

} // namespace NPxLogFormat
