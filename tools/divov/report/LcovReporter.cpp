#include "report/LcovReporter.h"

#include "probex/base/PxControlText.h"

void CLcovReporter::OnEnd(const CRunModel& model) {
  std::string trace;
  for (const auto& [cookie, source] : model.Coverage().Sources()) {
    trace += "TN:\nSF:";
    if (source.name.empty())
      trace += "unnamed-source-" + std::to_string(cookie); // no "PxPs" named it
    else {
      std::string name; // one line, whatever the name holds
      NPxControlText::Append(name, source.name, "");
      m_converter.Convert(name, trace);
    }
    trace += '\n';
    long long found = 0, hit = 0;
    for (const auto& [line, arrivals] : source.lines) {
      if (line < 1)
        continue; // lcov numbers lines from 1
      trace += "DA:" + std::to_string(line) + ',' + std::to_string(arrivals) + '\n';
      ++found;
      hit += arrivals != 0;
    }
    trace += "LF:" + std::to_string(found) + "\nLH:" + std::to_string(hit) + "\nend_of_record\n";
  }
  m_out << trace;
}
