// The transcript on a terminal or in a pipe: records in the debugger's
// layout, converted to the output encoding, coloured on request, and a
// one-line summary at the end.
#pragma once

#include "report/Reporter.h"
#include "report/TextConverter.h"
#include "report/TranscriptFormatter.h"

#include <ostream>
#include <string>

class CTranscriptReporter : public CReporter {
public:
  CTranscriptReporter(std::ostream& out, const std::string& encoding, bool colour);

  void OnRecord(const SLogRecord& record) override;
  void OnIdle() override;
  void OnEnd(const CRunModel& model) override;

  // Bytes that could not be shown in the output encoding.
  std::uint64_t ReplacedBytes() const { return m_converter.ReplacedBytes(); }

private:
  void m_Piece(std::string_view text, ETextStyle style, std::string_view tail);
  void m_Write();

  std::ostream& m_out;
  CTextConverter m_converter;
  bool m_colour;
  CTranscriptFormatter m_formatter;
  std::string m_raw;    // CP932 text not yet converted
  std::string m_buffer; // its conversion
};
