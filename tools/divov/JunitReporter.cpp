#include "JunitReporter.h"

#include "SourceLocation.h"

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
  long long allMs = 0;
  for (const SClass& c : model.Classes())
    allMs += PxClassTotals(c).timeMs;
  std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
  xml += "<testsuites name=\"" + m_markup(model.Title().empty() ? "Probex" : model.Title()) +
         "\" tests=\"" + std::to_string(totals.cases) + "\" failures=\"" +
         std::to_string(totals.failed) + "\" errors=\"0\" time=\"" + Seconds(allMs) + "\">\n";
  int classIndex = 0;
  for (const SClass& c : model.Classes()) {
    ++classIndex;
    std::string suite = !c.name.empty()      ? m_markup(c.name)
                        : !c.caption.empty() ? m_markup(c.caption)
                                             : "class " + std::to_string(classIndex);
    const SClassTotals classTotals = PxClassTotals(c);
    xml += "  <testsuite name=\"" + suite + "\" tests=\"" + std::to_string(c.cases.size()) +
           "\" failures=\"" + std::to_string(classTotals.failed) +
           "\" errors=\"0\" skipped=\"0\" time=\"" + Seconds(classTotals.timeMs) + "\">\n";
    int caseIndex = 0;
    for (const SCase& k : c.cases) {
      ++caseIndex;
      xml += "    <testcase name=\"" +
             (k.caption.empty() ? "case " + std::to_string(caseIndex) : m_markup(k.caption)) +
             "\" classname=\"" + suite + "\"";
      SSourceLocation location;
      if (PxParseLocation(k.location, location))
        xml += " file=\"" + m_markup(location.file) + "\" line=\"" + std::to_string(location.line) +
               "\"";
      xml += " time=\"" + Seconds(k.timeMs) + "\"";
      if (k.failures.empty()) {
        xml += "/>\n";
        continue;
      }
      xml += ">\n";
      for (const SFailure& f : k.failures) {
        xml += "      <failure message=\"" + m_markup(f.text) + "\" type=\"expectation\">";
        for (const std::string* part : {&f.expectLine, &f.testCaption, &f.expression, &f.text})
          if (!part->empty())
            xml += m_markup(*part) + "\n";
        xml += "</failure>\n";
      }
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
  xml += "</testsuites>\n";
  m_out << xml;
}
