// Any bytes as a log, through everything the viewer makes of it: the reader,
// the model and every report, in both languages, all written to memory.
// Bytes fed whole and bytes fed in small pieces must give the same records:
// the viewer follows a growing file and reads it in pieces of any size. The
// HTML and JUnit reports must stay readable by any parser.
#include "app/RecordFan.h"
#include "model/LogReader.h"
#include "model/RunModel.h"
#include "report/ErrorsReporter.h"
#include "report/HtmlReporter.h"
#include "report/JunitReporter.h"
#include "report/LcovReporter.h"
#include "report/TranscriptReporter.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

// What the reader handed on, kind, offset and text, one after another.
void Digest(std::string& digest, const SLogRecord& record) {
  digest += std::to_string(record.kind) + "@" + std::to_string(record.offset) + ":" + record.text;
  digest += '\n';
}

// XML and HTML must be UTF-8 without the control characters XML 1.0 forbids,
// or parsers and browsers refuse the whole report.
bool IsMarkupText(const std::string& text) {
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80         ? 1
                               : (c >> 5) == 6  ? 2
                               : (c >> 4) == 14 ? 3
                               : (c >> 3) == 30 ? 4
                                                : 0;
    if (length == 0 || i + length > text.size() ||
        (c < 0x20 && c != '\t' && c != '\n' && c != '\r'))
      return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 2)
        return false;
    }
    i += length;
  }
  return true;
}

// One viewing of the log, as the program does it; returns the records read.
std::string View(const char* data, std::size_t size, bool english, bool inPieces) {
  CLogReader reader;
  CRunModel model(reader.Issues(),
                  english ? ETranscriptLanguage::English : ETranscriptLanguage::Japanese);
  model.AllowNoCases(inPieces);
  std::ostringstream transcript, errors, html, junit, lcov;
  CTranscriptReporter transcriptReporter(transcript, english ? "EUC-JP" : "UTF-8", english);
  CErrorsReporter errorsReporter(errors, "UTF-8", "fuzz.qpxlog");
  CHtmlReporter htmlReporter(html, "fuzz.qpxlog", english ? "en" : "ja");
  CJunitReporter junitReporter(junit);
  CLcovReporter lcovReporter(lcov);

  CRecordFan fan(
      model, {&transcriptReporter, &errorsReporter, &htmlReporter, &junitReporter, &lcovReporter},
      english);
  std::string digest;
  const CLogReader::FRecord take = [&](const SLogRecord& record) {
    Digest(digest, record);
    fan.Add(record);
  };
  if (inPieces) {
    // Pieces of 1, 2, 3 ... bytes, so that every record end meets a cut,
    // the reporters told after each that the reader caught up, as when the
    // viewer follows a log that grows.
    std::size_t piece = 1;
    for (std::size_t at = 0; at < size; at += piece, piece = piece % 17 + 1) {
      reader.Feed(data + at, std::min(piece, size - at), take);
      for (CReporter* reporter : fan.Reporters())
        reporter->OnIdle();
    }
  } else {
    reader.Feed(data, size, take);
  }
  reader.Finish(take);
  for (CReporter* reporter : fan.Reporters())
    reporter->OnIdle();
  for (CReporter* reporter : fan.Reporters())
    reporter->OnEnd(model);
  // What the program tells besides the reports.
  const SRunTotals totals = model.Totals();
  const std::string said = model.Summary() + model.Incomplete() + model.NoCaseRan();
  if (totals.failed < 0 || totals.passed < 0 || said.empty())
    std::abort();
  for (const std::ostringstream* markup : {&html, &junit}) {
    if (!IsMarkupText(markup->str())) {
      std::fprintf(stderr, "a report that no parser reads:\n%s\n", markup->str().c_str());
      std::abort();
    }
  }
  for (const std::string& line : reader.Issues().Describe())
    digest += "issue " + line + "\n";
  return digest;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const char* const bytes = reinterpret_cast<const char*>(data);
  const std::string whole = View(bytes, size, false, false);
  const std::string pieces = View(bytes, size, true, true);
  if (whole != pieces) {
    std::fprintf(stderr, "records read whole:\n%s\nrecords read in pieces:\n%s\n", whole.c_str(),
                 pieces.c_str());
    std::abort();
  }
  return 0;
}
