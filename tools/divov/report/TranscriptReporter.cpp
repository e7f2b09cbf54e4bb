#include "report/TranscriptReporter.h"

#include "probex/base/PxControlText.h"

namespace {

const char* const kStyleCodes[] = {
    "",           // plain
    "\033[32m",   // pass: green
    "\033[1;31m", // fail: bold red
    "\033[1m",    // heading: bold
    "\033[36m",   // case: cyan
    "\033[33m",   // warning: yellow
};
const char kResetCode[] = "\033[0m";

// Written in pieces of this size, so that memory stays flat on any log.
constexpr std::size_t kWriteSize = 1 << 16;

} // namespace

CTranscriptReporter::CTranscriptReporter(std::ostream& out, const std::string& encoding,
                                         bool colour)
    : m_out(out), m_converter(encoding), m_colour(colour),
      m_formatter([this](std::string_view text, ETextStyle style, std::string_view tail) {
        m_Piece(text, style, tail);
      }) {}

void CTranscriptReporter::OnRecord(const SLogRecord& record) {
  m_formatter.Add(record);
  if (m_raw.size() >= kWriteSize)
    m_Write();
}

void CTranscriptReporter::OnIdle() {
  m_formatter.Flush();
  m_Write();
  m_out.flush();
}

void CTranscriptReporter::OnEnd(const CRunModel& model) {
  m_formatter.Flush();
  const std::string incomplete = model.Incomplete();
  if (!incomplete.empty())
    m_Piece("Incomplete run: " + incomplete, ETextStyle::Fail, "\n");
  const std::string noCase = model.NoCaseRan();
  if (!noCase.empty())
    m_Piece("Failed: " + noCase, ETextStyle::Fail, "\n");
  m_Piece("Summary: " + model.Summary(),
          model.Failed() || !incomplete.empty() ? ETextStyle::Fail : ETextStyle::Pass, "\n");
  m_Write();
  m_out.flush();
}

void CTranscriptReporter::m_Piece(std::string_view text, ETextStyle style, std::string_view tail) {
  const bool coloured = m_colour && style != ETextStyle::Plain && !text.empty();
  if (coloured)
    m_raw += kStyleCodes[static_cast<int>(style)];
  // Only the style codes above may steer the terminal, never a log's text.
  NPxControlText::Append(m_raw, text, "\t\n");
  if (coloured)
    m_raw += kResetCode;
  m_raw.append(tail);
}

// Converted in large pieces, which costs far less than piece by piece. A
// lead byte cut from its partner at the end of a text cannot join the next
// one: every piece ends in a line feed, which no CP932 pair holds.
void CTranscriptReporter::m_Write() {
  m_converter.Convert(m_raw, m_buffer);
  m_raw.clear();
  m_out.write(m_buffer.data(), static_cast<std::streamsize>(m_buffer.size()));
  m_buffer.clear();
}
