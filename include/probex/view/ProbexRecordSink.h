// A sink given to SetViewClass may derive from this class as well: it then
// receives the side records (NPxSideKind) that the log gets beside the
// messages, in their place among them. OutputMessage sees no change.
#pragma once

#include "probex/base/PxApi.h"

class PX_API CProbexRecordSink {
public:
  virtual ~CProbexRecordSink();
  virtual void OutputRecord(const char* text, unsigned kind) = 0;
};
