// What a reader met in a log that it could not take as a record: counted
// per sort with the first place it was seen, so a report stays one line each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum class EReadIssue {
  DamagedLine,   // neither a record nor a continuation: skipped
  OrphanLine,    // a continuation with no "PxLn" record before it: skipped
  ZeroBytes,     // zero bytes, which no writer produces: skipped
  UnknownKind,   // a record of a kind outside the table: shown as free text
  MissingHeader, // the file does not open with its header records
  Unterminated,  // the last record has no carriage return: taken as it stands
  BadText,       // bytes not CP932, or not in the output encoding: replaced
  BadCoverage,   // a coverage record whose text cannot be read: skipped
  Count
};

class CReadIssues {
public:
  void Add(EReadIssue issue, std::uint64_t offset, std::uint64_t amount = 1);
  bool Empty() const;
  std::uint64_t Count(EReadIssue issue) const { return m_entries[static_cast<int>(issue)].amount; }
  // One English line per sort met, such as "skipped 2 damaged lines (first at byte 40)".
  std::vector<std::string> Describe() const;

private:
  struct SEntry {
    std::uint64_t amount = 0;
    std::uint64_t firstOffset = 0;
  };
  SEntry m_entries[static_cast<int>(EReadIssue::Count)];
};
