// Stands in for an attached debugger while it lives: every debugger line and
// every pause is recorded instead of reaching the process's standard error.
#pragma once

#include "probex/platform/Debugger.h"

#include <string>
#include <vector>

class CPxDebuggerStandIn {
public:
  explicit CPxDebuggerStandIn(bool attached = true);
  ~CPxDebuggerStandIn();
  CPxDebuggerStandIn(const CPxDebuggerStandIn&) = delete;
  CPxDebuggerStandIn& operator=(const CPxDebuggerStandIn&) = delete;

  // Debugger lines and pauses, in order: a pause reads "<pause N>".
  std::vector<std::string> Events() const;
  std::string Output() const;
};
