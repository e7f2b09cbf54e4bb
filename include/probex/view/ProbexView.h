// The output sink. Every message of a run passes through OutputMessage:
// under a debugger it becomes one line of debugger output, otherwise one
// record of the process's log file. Derive and override to catch messages.
#pragma once

#include "probex/base/PxApi.h"
#include "probex/base/PxMsgType.h"

class PX_API CProbexView {
public:
  CProbexView() = default;
  CProbexView(const CProbexView&) = default;
  CProbexView& operator=(const CProbexView&) = default;
  virtual ~CProbexView();

  // Asks afresh for every message whether a debugger is attached.
  virtual void OutputMessage(const char* text, EPxMsgType kind);

protected:
  // Renders the message for the debugger, then pauses 10 ms; coverage kinds
  // are skipped without output or pause. A null text counts as empty.
  void m_OutputOutput(const char* text, EPxMsgType kind);
  // Appends the message to the process-wide log file.
  void m_OutputLog(const char* text, EPxMsgType kind);
};
