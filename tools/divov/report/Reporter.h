// An output format of the viewer. Every reporter sees each record as it is
// read and the finished model at the end; each writes to its own stream.
#pragma once

#include "model/LogRecord.h"
#include "model/RunModel.h"

class CReporter {
public:
  virtual ~CReporter() = default;
  virtual void OnRecord(const SLogRecord& record) { (void)record; }
  // The reader has caught up with the file: show what is held back.
  virtual void OnIdle() {}
  virtual void OnEnd(const CRunModel& model) = 0;
};
