// An lcov tracefile, as genhtml reads it: one section per source with the
// arrivals at each line, passable lines that never ran at zero.
#pragma once

#include "report/Reporter.h"
#include "report/TextConverter.h"

#include <ostream>

class CLcovReporter : public CReporter {
public:
  explicit CLcovReporter(std::ostream& out) : m_out(out), m_converter("UTF-8") {}
  void OnEnd(const CRunModel& model) override;

private:
  std::ostream& m_out;
  CTextConverter m_converter;
};
