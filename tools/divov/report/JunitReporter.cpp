#include "report/JunitReporter.h"

#include "model/SourceLocation.h"

#include <cstdio>

namespace {

std::string Seconds(long long ms) {
  char text[32];
  std::snprintf(text, sizeof text, "%.3f", ms > 0 ? static_cast<double>(ms) / 1000.0 : 0.0);
  return text;
}

} // namespace

void CJunitReporter::OnEnd(const CRunModel& model) {
  const SRunTotals totals = model.Totals();
  // An incomplete run is an error of the case it stopped in, or of a suite
  // of its own when it stopped between cases or the log is damaged.
  const std::string incomplete = model.Incomplete();
  const std::string error = incomplete.empty() ? ""
                                               : "      <error message=\"" + m_markup(incomplete) +
                                                     "\" type=\"incomplete\">" +
                                                     m_markup(incomplete) + "</error>\n";
  const SClass* stopped = nullptr;
  if (!error.empty() && !model.Classes().empty() && !model.Classes().back().hasResults &&
      !model.Classes().back().cases.empty() && model.Classes().back().cases.back().timeMs < 0)
    stopped = &model.Classes().back();
  // Every <testcase> counts, the hooks' ones too.
  long long allMs = 0, testcases = 0;
  for (const SClass& c : model.Classes()) {
    allMs += PxClassTotals(c).timeMs;
    testcases += static_cast<long long>(c.cases.size());
  }
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  // A run of no case fails in a suite of its own.
  const std::string noCase = model.NoCaseRan();
  xml += "<testsuites name=\"" + m_markup(model.Title().empty() ? "Probex" : model.Title()) +
         "\" tests=\"" + std::to_string(testcases + !noCase.empty()) + "\" failures=\"" +
         std::to_string(totals.failed + !noCase.empty()) + "\" errors=\"" +
         (error.empty() ? "0" : "1") + "\" time=\"" + Seconds(allMs) + "\">\n";
  int classIndex = 0;
  for (const SClass& c : model.Classes()) {
    ++classIndex;
    // A suite's name for the class, else its type's, else its caption.
    std::string suite = !c.name.empty()       ? m_markup(c.name)
                        : !c.typeName.empty() ? m_markup(c.typeName)
                        : !c.caption.empty()  ? m_markup(c.caption)
                                              : "class " + std::to_string(classIndex);
    const std::string className = c.typeName.empty() ? suite : m_markup(c.typeName);
    const SClassTotals classTotals = PxClassTotals(c);
    xml += "  <testsuite name=\"" + suite + "\" tests=\"" + std::to_string(c.cases.size()) +
           "\" failures=\"" + std::to_string(classTotals.failed) + "\" errors=\"" +
           (&c == stopped ? "1" : "0") + "\" skipped=\"0\" time=\"" + Seconds(classTotals.timeMs) +
           "\">\n";
    int caseIndex = 0;
    for (const SCase& k : c.cases) {
      caseIndex += !k.hook;
      // The checks of SetUp and TearDown stand as a case named after the hook.
      const std::string name = k.hook              ? std::string(k.hook)
                               : !k.name.empty()   ? m_markup(k.name)
                               : k.caption.empty() ? "case " + std::to_string(caseIndex)
                                                   : m_markup(k.caption);
      xml += "    <testcase name=\"" + name + "\" classname=\"" + className + "\"";
      SSourceLocation location;
      if (PxParseLocation(k.location, location))
        xml += " file=\"" + m_markup(location.file) + "\" line=\"" + std::to_string(location.line) +
               "\"";
      xml += " time=\"" + Seconds(k.timeMs) + "\"";
      const bool stoppedHere = &c == stopped && &k == &c.cases.back();
      // A named case keeps its caption beside its name.
      const bool captioned = !k.name.empty() && !k.caption.empty();
      if (k.failures.empty() && !stoppedHere && !captioned) {
        xml += "/>\n";
        continue;
      }
      xml += ">\n";
      if (captioned)
        xml += "      <properties><property name=\"caption\" value=\"" + m_markup(k.caption) +
               "\"/></properties>\n";
      for (const SFailure& f : k.failures) {
        xml += "      <failure message=\"" + m_markup(f.text) + "\" type=\"expectation\">";
        for (const std::string* part : {&f.expectLine, &f.testCaption, &f.expression, &f.text})
          if (!part->empty())
            xml += m_markup(*part) + "\n";
        for (const std::string& value : f.values)
          xml += m_markup(value) + "\n";
        xml += "</failure>\n";
      }
      if (stoppedHere)
        xml += error;
      xml += "    </testcase>\n";
    }
    if (!c.warnings.empty()) {
      xml += "    <system-err>";
      for (const std::string& warning : c.warnings)
        xml += m_markup(warning) + "\n";
      xml += "</system-err>\n";
    }
    xml += "  </testsuite>\n";
  }
  if (!error.empty() && !stopped)
    xml += "  <testsuite name=\"incomplete run\" tests=\"1\" failures=\"0\" errors=\"1\" "
           "skipped=\"0\" time=\"0.000\">\n    <testcase name=\"incomplete run\" "
           "classname=\"incomplete run\" time=\"0.000\">\n" +
           error + "    </testcase>\n  </testsuite>\n";
  if (!noCase.empty())
    xml += "  <testsuite name=\"no case ran\" tests=\"1\" failures=\"1\" errors=\"0\" "
           "skipped=\"0\" time=\"0.000\">\n    <testcase name=\"no case ran\" "
           "classname=\"no case ran\" time=\"0.000\">\n      <failure message=\"" +
           m_markup(noCase) + "\" type=\"no case\">" + m_markup(noCase) +
           "</failure>\n    </testcase>\n  </testsuite>\n";
  xml += "</testsuites>\n";
  m_out << xml;
}
