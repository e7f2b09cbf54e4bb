// What a reader met in a log that it could not take as a record: counted
// per sort with the first place it was seen, so a report stays one line each.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

enum EReadIssue {
  READ_ISSUE_DAMAGED_LINE,   // neither a record nor a continuation: skipped
  READ_ISSUE_ORPHAN_LINE,    // a continuation with no "PxLn" record before it: skipped
  READ_ISSUE_ZERO_BYTES,     // zero bytes, which no writer produces: skipped
  READ_ISSUE_UNKNOWN_KIND,   // a record of a kind outside the table: shown as free text
  READ_ISSUE_MISSING_HEADER, // the file does not open with its header records
  READ_ISSUE_UNTERMINATED,   // the last record has no carriage return: taken as it stands
  READ_ISSUE_BAD_TEXT,       // bytes not CP932, or not in the output encoding: replaced
  READ_ISSUE_BAD_COVERAGE,   // a coverage record whose text cannot be read: skipped
  READ_ISSUE_COUNT
};

class CReadIssues {
public:
  void Add(EReadIssue issue, std::uint64_t offset, std::uint64_t amount = 1);
  bool Empty() const;
  std::uint64_t Count(EReadIssue issue) const { return m_entries[issue].amount; }
  // One English line per sort met, such as "skipped 2 damaged lines (first at byte 40)".
  std::vector<std::string> Describe() const;

private:
  struct SEntry {
    std::uint64_t amount = 0;
    std::uint64_t firstOffset = 0;
  };
  SEntry m_entries[READ_ISSUE_COUNT];
};
