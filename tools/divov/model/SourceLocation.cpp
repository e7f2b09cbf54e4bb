#include "model/SourceLocation.h"

#include "probex/base/PxLocationCodec.h"

bool PxParseLocation(std::string_view text, SSourceLocation& location) {
  NPxLocationCodec::SLocation read;
  if (!NPxLocationCodec::Read(text, read))
    return false;
  location.file.assign(read.path);
  location.line = read.line;
  return true;
}
