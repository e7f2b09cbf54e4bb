// Line coverage gathered from the coverage records of a log: the passable
// lines of each source ("PxPs") and the arrivals at its lines, counted from
// step records ("PxLn") or taken from the final counts ("PxCt").
#pragma once

#include "model/LogRecord.h"
#include "model/ReadIssues.h"

#include <cstdint>
#include <map>
#include <string>

struct SSourceCoverage {
  std::string name;                         // source path, CP932; empty until a "PxPs" names it
  std::map<long long, std::uint64_t> lines; // line -> arrivals; passable lines not reached hold 0
};

class CCoverageModel {
public:
  CCoverageModel() = default;
  // It keeps a pointer into its own map.
  CCoverageModel(const CCoverageModel&) = delete;
  CCoverageModel& operator=(const CCoverageModel&) = delete;

  // Takes a coverage record; an unreadable one is counted in issues and skipped.
  void Add(const SLogRecord& record, CReadIssues& issues);

  bool Empty() const { return m_sources.empty(); }
  // By source cookie.
  const std::map<long long, SSourceCoverage>& Sources() const { return m_sources; }

private:
  bool m_Passable(std::string_view text);
  bool m_Step(std::string_view text);
  bool m_Counts(std::string_view text);

  std::map<long long, SSourceCoverage> m_sources;
  // The source of the last step record; entries of a map stay where they are.
  SSourceCoverage* m_pStepSource = nullptr;
  long long m_nStepCookie = 0;
};
