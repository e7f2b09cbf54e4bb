// JUnit XML: a class is a test suite, a case a test case with its file,
// line and time, each failed check a failure that names the location the
// test declared for it.
#pragma once

#include "report/MarkupText.h"
#include "report/Reporter.h"

#include <ostream>

class CJunitReporter : public CReporter {
public:
  explicit CJunitReporter(std::ostream& out) : m_out(out) {}
  void OnEnd(const CRunModel& model) override;

private:
  std::ostream& m_out;
  CMarkupText m_markup;
};
