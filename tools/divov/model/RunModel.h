// The run that a log tells of: its classes, their cases and checks, the
// suite's results block and the coverage. Built record by record, so it
// never needs the whole log at once; passing checks are only counted.
#pragma once

#include "model/CoverageModel.h"
#include "model/EnglishTexts.h"
#include "model/LogRecord.h"
#include "model/ReadIssues.h"

#include <string>
#include <vector>

// A failed check: CP932 texts as the log gives them, empty when absent.
struct SFailure {
  std::string testCaption;         // "TtCp"
  std::string expectLine;          // "TtEL", the location the test declared
  std::string expression;          // "TtEx"
  std::string text;                // "TtNg"
  std::vector<std::string> values; // the compared values, one line each
};

// A case, or the checks that the class's SetUp or TearDown made: those are
// kept as an entry of their own that is counted as no case.
struct SCase {
  const char* hook = nullptr; // "SetUp" or "TearDown" for such checks; null for a case
  std::string name;           // the name it was declared with, when the log gives it
  std::string caption;        // "CaCp"
  std::string location;       // "CaLn"
  long long timeMs = -1;      // "CaTm"; -1 while the case has not ended
  long long passed = 0;
  std::vector<SFailure> failures;
};

struct SClass {
  std::string name;     // "ClNm", given by a suite
  std::string caption;  // "ClCp"
  std::string typeName; // the class's type name, when the log gives it
  std::vector<SCase> cases;
  std::vector<std::string> warnings; // the run loop's warnings about this class
  bool hasResults = false;           // its "ClRe" lines arrived
  long long reportedCases = 0, reportedExceptions = 0, reportedFailures = 0;
};

// The cases of a class (its hooks' checks not counted as cases), checks
// passed and failed, hooks' included, and the time of its timed cases.
struct SClassTotals {
  long long cases = 0, passed = 0, failed = 0, timeMs = 0;
};
SClassTotals PxClassTotals(const SClass& testClass);

struct SRunTotals {
  long long classes = 0, cases = 0, passed = 0, failed = 0, reportedFailures = 0;
};

class CRunModel {
public:
  // issues receives what the coverage records could not give; language is
  // that of the verdicts the viewer says in both languages.
  explicit CRunModel(CReadIssues& issues,
                     ETranscriptLanguage language = ETranscriptLanguage::English)
      : m_issues(issues), m_language(language) {}

  void Add(const SLogRecord& record);

  const std::string& Title() const { return m_title; }
  const std::string& Version() const { return m_version; }
  const std::vector<SClass>& Classes() const { return m_classes; }
  const std::vector<std::string>& SuiteResults() const { return m_suiteResults; }
  const CCoverageModel& Coverage() const { return m_coverage; }
  const CReadIssues& Issues() const { return m_issues; }

  SRunTotals Totals() const;
  // "2 classes, 5 cases, 4 passed, 1 failed" and, when classes reported
  // more failures than failed checks show, how many.
  std::string Summary() const;
  // A check failed, a class reported failures of its own or could not run
  // as declared, or no case ran.
  bool Failed() const;
  // Classes ran, and every one reported that it ran no case: a filter
  // matched none, or they declare none (the log does not tell which). Empty
  // when a case ran, no class did, a class has a warning, the run is
  // incomplete, or AllowNoCases took such a run.
  std::string NoCaseRan() const;
  void AllowNoCases(bool allowed) { m_noCasesAllowed = allowed; }
  // Why the log cannot tell of a whole run (the program ended abnormally,
  // the log is cut or damaged, results are missing); empty when it can.
  // CP932, as the log gives it.
  std::string Incomplete() const;

private:
  void m_Free(const std::string& text);
  void m_ClassResult(const std::string& text);
  void m_EndCheck();
  void m_SettleSetUp();
  SClass& m_Class();
  SCase& m_Case();
  bool m_ClassIsFresh() const;

  CReadIssues& m_issues;
  ETranscriptLanguage m_language;
  bool m_sawBody = false; // a record past the header arrived
  std::string m_title, m_version;
  std::vector<SClass> m_classes;
  std::vector<std::string> m_suiteResults;
  bool m_inSuiteResults = false;
  bool m_sawSuiteResults = false;
  std::string m_abnormalEnd; // the "End." record's text
  bool m_caseOpen = false;   // the last case has not seen its time line
  bool m_noCasesAllowed = false;
  SFailure m_pending;           // what the check under way has sent so far
  bool m_afterFailure = false;  // the last record was a failure text
  bool m_afterCaseName = false; // the last record named the case to come
  CCoverageModel m_coverage;
};
