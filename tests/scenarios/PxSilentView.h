// A sink that drops every message: runs whose output does not matter write
// no log file and start no viewer.
#pragma once

#include "probex/view/ProbexView.h"

class CPxSilentView : public CProbexView {
public:
  void OutputMessage(const char*, EPxMsgType) override {}
};
