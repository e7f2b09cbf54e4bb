#include "report/ErrorsReporter.h"

#include "probex/base/PxControlText.h"

namespace {

const char kNoResults[] = "the class ended without its results: the run stopped inside it";

} // namespace

CErrorsReporter::CErrorsReporter(std::ostream& out, const std::string& encoding,
                                 std::string logPath)
    : m_out(out), m_converter(encoding), m_logPath(std::move(logPath)) {}

void CErrorsReporter::OnEnd(const CRunModel& model) {
  for (const SClass& testClass : model.Classes()) {
    SSourceLocation classWhere;
    bool classKnown = false;
    for (const SCase& testCase : testClass.cases) {
      SSourceLocation caseWhere;
      const bool caseKnown = PxParseLocation(testCase.location, caseWhere);
      if (caseKnown && !classKnown) {
        classWhere = caseWhere;
        classKnown = true;
      }
      // "Class.Case: " where the log names them.
      const std::string who = testClass.typeName.empty() || testCase.name.empty()
                                  ? std::string()
                                  : testClass.typeName + "." + testCase.name + ": ";
      for (const SFailure& failure : testCase.failures) {
        SSourceLocation own;
        const SSourceLocation* where = PxParseLocation(failure.expectLine, own) ? &own
                                       : caseKnown                              ? &caseWhere
                                       : classKnown                             ? &classWhere
                                                                                : nullptr;
        m_Line(where, who + (failure.text.empty() ? failure.expression : failure.text));
        for (const std::string& value : failure.values)
          m_Line(where, value, true);
      }
    }
    std::vector<std::string> classTexts = testClass.warnings;
    if (!testClass.hasResults && testClass.warnings.empty())
      classTexts.push_back(kNoResults);
    for (const std::string& text : classTexts)
      m_Line(classKnown ? &classWhere : nullptr, text);
  }
  const std::string noCase = model.NoCaseRan();
  if (!noCase.empty())
    m_Line(nullptr, noCase);
  const std::string incomplete = model.Incomplete();
  if (!incomplete.empty())
    m_Line(nullptr, "incomplete run: " + incomplete);
  m_out.flush();
}

void CErrorsReporter::m_Line(const SSourceLocation* where, const std::string& text, bool note) {
  // One line per failure, and nothing in it that could steer a terminal:
  // control characters, line ends included, are shown escaped.
  std::string raw;
  if (where)
    NPxControlText::Append(raw, where->file + ":" + std::to_string(where->line), "");
  raw += note ? ": note: " : ": error: ";
  NPxControlText::Append(raw, text.empty() ? "a check failed" : text, "");
  std::string shown;
  if (!where)
    NPxControlText::Append(shown, m_logPath + ":1", "");
  m_converter.Convert(raw, shown);
  m_out << shown << '\n';
  m_count += !note;
}
