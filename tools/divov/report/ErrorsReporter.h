// Failures as compilers report errors, "file:line: error: text", one line
// each, so that editors, terminals and CI annotators can jump to them. A
// failure goes to the location its check declared, else to its case's;
// a class's warnings and a class whose results never came go to the first
// case location of the class, else to the log itself. The values of a
// failed comparison follow its line as notes at the same location.
#pragma once

#include "model/SourceLocation.h"
#include "report/Reporter.h"
#include "report/TextConverter.h"

#include <ostream>
#include <string>

class CErrorsReporter : public CReporter {
public:
  CErrorsReporter(std::ostream& out, const std::string& encoding, std::string logPath);

  void OnEnd(const CRunModel& model) override;
  long long Count() const { return m_count; }

private:
  // Without a source location, the line names the log. A note counts as
  // no error.
  void m_Line(const SSourceLocation* where, const std::string& text, bool note = false);

  std::ostream& m_out;
  CTextConverter m_converter;
  std::string m_logPath;
  long long m_count = 0;
};
