// A self-contained HTML page of the run: the result table, the failures
// with their locations, the suite's results, coverage, what the reader
// skipped, and the transcript. It needs no file beside it.
#pragma once

#include "report/MarkupText.h"
#include "report/Reporter.h"
#include "report/TranscriptFormatter.h"

#include <ostream>
#include <string>

class CHtmlReporter : public CReporter {
public:
  // logName is shown as the page's subject; language is the page's ("ja",
  // "en"), the language the library's texts are shown in.
  CHtmlReporter(std::ostream& out, const std::string& logName, const char* language = "ja");

  void OnRecord(const SLogRecord& record) override;
  void OnEnd(const CRunModel& model) override;

private:
  void m_Piece(std::string_view text, ETextStyle style, std::string_view tail);
  std::string m_Results(const CRunModel& model);
  std::string m_Failures(const CRunModel& model);
  std::string m_Coverage(const CRunModel& model);

  std::ostream& m_out;
  std::string m_logName;
  std::string m_language;
  CMarkupText m_markup;
  CTranscriptFormatter m_formatter;
  std::string m_transcript; // marked-up transcript, up to a bound
  bool m_cut = false;
};
