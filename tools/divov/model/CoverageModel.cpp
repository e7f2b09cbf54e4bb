#include "model/CoverageModel.h"

#include "model/NumberText.h"

namespace {

// The head every coverage text opens with: a sigil and two numbers,
// "!%d,%d" or "?%d,%d", then the literal that ends the head.
bool ReadHead(std::string_view text, std::size_t& pos, std::string_view sigil, long long& first,
              long long& second, std::string_view end) {
  return PxReadLiteral(text, pos, sigil) && PxReadDecimal(text, pos, first) &&
         PxReadLiteral(text, pos, ",") && PxReadDecimal(text, pos, second) &&
         PxReadLiteral(text, pos, end);
}

} // namespace

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

// "!cookie,first;name(0):" and two hex digits per table byte; bit b of byte
// k marks line first + 8k + b as passable.
bool CCoverageModel::m_Passable(std::string_view text) {
  std::size_t pos = 0;
  long long cookie = 0, first = 0;
  if (!ReadHead(text, pos, "!", cookie, first, ";"))
    return false;
  const std::size_t nameEnd = text.rfind("(0):");
  if (nameEnd == std::string_view::npos || nameEnd < pos)
    return false;
  const std::string_view name = text.substr(pos, nameEnd - pos);
  pos = nameEnd + 4;
  if ((text.size() - pos) % 2 != 0)
    return false;
  std::map<long long, std::uint64_t> passable;
  for (long long k = 0; pos < text.size(); ++k) {
    std::uint64_t byte = 0;
    if (!PxReadHex(text, pos, 2, byte))
      return false;
    for (int b = 0; b < 8; ++b)
      if (byte & (1u << b))
        passable.emplace(first + 8 * k + b, 0);
  }
  SSourceCoverage& source = m_sources[cookie];
  source.name.assign(name);
  source.lines.insert(passable.begin(), passable.end());
  return true;
}

// "?cookie,line(point", or "?cookie,line(point):elapsed": one arrival.
bool CCoverageModel::m_Step(std::string_view text) {
  std::size_t pos = 0;
  long long cookie = 0, line = 0, point = 0;
  if (!ReadHead(text, pos, "?", cookie, line, "(") || !PxReadDecimal(text, pos, point))
    return false;
  std::uint64_t elapsed = 0;
  if (pos != text.size() &&
      (!PxReadLiteral(text, pos, "):") || !PxReadHex(text, pos, 0, elapsed) || pos != text.size()))
    return false;
  // Step records come in runs from one source: its entry is kept at hand.
  if (!m_pStepSource || cookie != m_nStepCookie) {
    m_pStepSource = &m_sources[cookie];
    m_nStepCookie = cookie;
  }
  ++m_pStepSource->lines[line];
  return true;
}

// "?cookie,line();" and one counter per point, six hex digits each. A
// counter past 0xFFFFFF is written wider; with a single point the whole
// field is that counter, otherwise the widths cannot be told apart.
bool CCoverageModel::m_Counts(std::string_view text) {
  std::size_t pos = 0;
  long long cookie = 0, line = 0;
  if (!ReadHead(text, pos, "?", cookie, line, "();"))
    return false;
  const std::size_t digits = text.size() - pos;
  std::uint64_t total = 0;
  if (digits > 6 && digits <= 8) {
    if (!PxReadHex(text, pos, 0, total) || pos != text.size())
      return false;
  } else {
    if (digits % 6 != 0)
      return false;
    while (pos < text.size()) {
      std::uint64_t counter = 0;
      if (!PxReadHex(text, pos, 6, counter))
        return false;
      total += counter;
    }
  }
  m_sources[cookie].lines[line] += total;
  return true;
}
