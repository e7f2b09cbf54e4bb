#include "model/ReadIssues.h"

#include <cstdio>

namespace {

struct SIssueText {
  const char* one;
  const char* many;
};

const SIssueText kIssueTexts[static_cast<int>(EReadIssue::Count)] = {
    {"skipped %llu damaged line", "skipped %llu damaged lines"},
    {"skipped %llu continuation line without its record",
     "skipped %llu continuation lines without their record"},
    {"skipped %llu zero byte", "skipped %llu zero bytes"},
    {"showed %llu record of unknown kind as free text",
     "showed %llu records of unknown kind as free text"},
    {"the log has no header records", "the log has no header records"},
    {"took %llu record without its carriage return as it stands",
     "took %llu records without their carriage return as they stand"},
    {"replaced %llu byte that could not be converted",
     "replaced %llu bytes that could not be converted"},
    {"skipped %llu unreadable coverage record", "skipped %llu unreadable coverage records"},
};

} // namespace

void CReadIssues::Add(EReadIssue issue, std::uint64_t offset, std::uint64_t amount) {
  SEntry& entry = m_entries[static_cast<int>(issue)];
  if (entry.amount == 0)
    entry.firstOffset = offset;
  entry.amount += amount;
}

bool CReadIssues::Empty() const {
  for (const SEntry& entry : m_entries)
    if (entry.amount != 0)
      return false;
  return true;
}

std::vector<std::string> CReadIssues::Describe() const {
  std::vector<std::string> lines;
  for (int i = 0; i < static_cast<int>(EReadIssue::Count); ++i) {
    const auto issue = static_cast<EReadIssue>(i);
    const SEntry& entry = m_entries[i];
    if (entry.amount == 0)
      continue;
    char text[160];
    const char* format = entry.amount == 1 ? kIssueTexts[i].one : kIssueTexts[i].many;
    std::snprintf(text, sizeof text, format, static_cast<unsigned long long>(entry.amount));
    std::string line = text;
    if (issue != EReadIssue::MissingHeader && issue != EReadIssue::BadText)
      line += " (first at byte " + std::to_string(entry.firstOffset) + ")";
    lines.push_back(line);
  }
  return lines;
}
