#include "model/CoverageModel.h"

#include "probex/base/PxCoverageRecordCodec.h"

void CCoverageModel::Add(const SLogRecord& record, CReadIssues& issues) {
  bool readable = true;
  switch (record.kind) {
  case PX_MSG_COVERAGE_PASSABLE:
    readable = m_Passable(record.text);
    break;
  case PX_MSG_COVERAGE_LINE:
    readable = m_Step(record.text);
    break;
  case PX_MSG_COVERAGE_COUNT:
    readable = m_Counts(record.text);
    break;
  default:
    break; // function records carry no line
  }
  if (!readable)
    issues.Add(EReadIssue::BadCoverage, record.offset);
}

// Bit b of table byte k marks line first + 8k + b as passable.
bool CCoverageModel::m_Passable(std::string_view text) {
  NPxCoverageRecord::SPassable read;
  if (!NPxCoverageRecord::ReadPassable(text, read))
    return false;
  SSourceCoverage& source = m_sources[read.cookie];
  source.name.assign(read.name);
  for (std::size_t k = 0; k < read.table.size(); ++k) {
    const auto byte = static_cast<unsigned char>(read.table[k]);
    for (int b = 0; b < 8; ++b)
      if (byte & (1u << b))
        source.lines.emplace(read.first + 8 * static_cast<long long>(k) + b, 0);
  }
  return true;
}

// One arrival.
bool CCoverageModel::m_Step(std::string_view text) {
  NPxCoverageRecord::SStep step;
  if (!NPxCoverageRecord::ReadStep(text, step))
    return false;
  // Step records come in runs from one source: its entry is kept at hand.
  if (!m_pStepSource || step.cookie != m_nStepCookie) {
    m_pStepSource = &m_sources[step.cookie];
    m_nStepCookie = step.cookie;
  }
  ++m_pStepSource->lines[step.line];
  return true;
}

bool CCoverageModel::m_Counts(std::string_view text) {
  NPxCoverageRecord::SCount count;
  if (!NPxCoverageRecord::ReadCount(text, count))
    return false;
  m_sources[count.cookie].lines[count.line] += count.total;
  return true;
}
