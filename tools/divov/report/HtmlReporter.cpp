#include "report/HtmlReporter.h"

#include "model/SourceLocation.h"

namespace {

// Past this the page would be slow to open; the log keeps the rest.
constexpr std::size_t kTranscriptLimit = 8u << 20;

const char* const kStyleClasses[] = {"", "pass", "fail", "heading", "case", "warning"};

const char kPageStyle[] = R"(<style>
body { font-family: sans-serif; margin: 1.5em; color: #222; }
table { border-collapse: collapse; margin-bottom: 1em; }
th, td { border: 1px solid #bbb; padding: 0.2em 0.6em; text-align: left; }
td.num { text-align: right; }
tr.fail td, .fail { color: #b00020; }
tr.pass td:first-child, .pass { color: #1b7a1b; }
.heading { font-weight: bold; }
.case { color: #0a5a8a; }
.warning { color: #9a6a00; }
pre { background: #f6f6f6; padding: 0.8em; overflow-x: auto; }
li.failure { margin-bottom: 0.6em; font-family: monospace; }
</style>
)";

} // namespace

CHtmlReporter::CHtmlReporter(std::ostream& out, const std::string& logName, const char* language)
    : m_out(out), m_logName(logName), m_language(language),
      m_formatter([this](std::string_view text, ETextStyle style, std::string_view tail) {
        m_Piece(text, style, tail);
      }) {}

void CHtmlReporter::OnRecord(const SLogRecord& record) {
  if (!m_cut)
    m_formatter.Add(record);
}

void CHtmlReporter::m_Piece(std::string_view text, ETextStyle style, std::string_view tail) {
  if (m_transcript.size() > kTranscriptLimit) {
    m_cut = true;
    return;
  }
  if (style != ETextStyle::Plain && !text.empty()) {
    m_transcript += "<span class=\"";
    m_transcript += kStyleClasses[static_cast<int>(style)];
    m_transcript += "\">";
    m_markup.Append(m_transcript, text);
    m_transcript += "</span>";
  } else {
    m_markup.Append(m_transcript, text);
  }
  m_transcript.append(tail);
}

std::string CHtmlReporter::m_Results(const CRunModel& model) {
  std::string html = "<table id=\"results\">\n<thead><tr><th>Class</th><th>Cases</th>"
                     "<th>Passed</th><th>Failed</th><th>Time (ms)</th><th>Reported</th></tr>"
                     "</thead>\n<tbody>\n";
  for (const SClass& c : model.Classes()) {
    const SClassTotals totals = PxClassTotals(c);
    const bool bad = totals.failed > 0 || c.reportedFailures > 0 || !c.warnings.empty();
    html += std::string("<tr class=\"") + (bad ? "fail" : "pass") + "\"><td>";
    // A suite's name for the class, else its type's, beside the caption.
    const std::string& named = c.name.empty() ? c.typeName : c.name;
    m_markup.Append(html, c.caption.empty() ? named : c.caption);
    if (!named.empty() && !c.caption.empty()) {
      html += " (";
      m_markup.Append(html, named);
      html += ")";
    }
    html += "</td><td class=\"num\">" + std::to_string(totals.cases) + "</td><td class=\"num\">" +
            std::to_string(totals.passed) + "</td><td class=\"num\">" +
            std::to_string(totals.failed) + "</td><td class=\"num\">" +
            std::to_string(totals.timeMs) + "</td><td>";
    if (c.hasResults && c.warnings.empty())
      html += "Case " + std::to_string(c.reportedCases) + ", Exception " +
              std::to_string(c.reportedExceptions) + ", Failures " +
              std::to_string(c.reportedFailures);
    for (const std::string& warning : c.warnings)
      m_markup.Append(html, warning);
    html += "</td></tr>\n";
  }
  return html + "</tbody>\n</table>\n";
}

std::string CHtmlReporter::m_Failures(const CRunModel& model) {
  std::string html = "<ul id=\"failures\">\n";
  for (const SClass& c : model.Classes())
    for (const SCase& k : c.cases)
      for (const SFailure& f : k.failures) {
        html += "<li class=\"failure\">";
        if (!f.expectLine.empty()) {
          html += "<span class=\"location\">";
          m_markup.Append(html, f.expectLine);
          html += "</span><br>";
        }
        // "Class.Case caption" where the log names them.
        const std::string& caption = k.hook ? std::string(k.hook) : k.caption;
        const std::string caseLabel =
            k.name.empty() ? caption
                           : (c.typeName.empty() ? k.name : c.typeName + "." + k.name) +
                                 (caption.empty() ? "" : " " + caption);
        for (const std::string* line : {&caseLabel, &f.testCaption, &f.expression}) {
          if (line->empty())
            continue;
          m_markup.Append(html, *line);
          html += "<br>";
        }
        html += "<span class=\"fail\">** ";
        m_markup.Append(html, f.text);
        html += "</span>";
        for (const std::string& value : f.values) {
          html += "<br><span class=\"value\">";
          m_markup.Append(html, value);
          html += "</span>";
        }
        html += "</li>\n";
      }
  return html + "</ul>\n";
}

std::string CHtmlReporter::m_Coverage(const CRunModel& model) {
  std::string html = "<h2>Coverage</h2>\n<table id=\"coverage\">\n<thead><tr><th>Source</th>"
                     "<th>Lines</th><th>Run</th></tr></thead>\n<tbody>\n";
  for (const auto& [cookie, source] : model.Coverage().Sources()) {
    long long run = 0;
    for (const auto& line : source.lines)
      run += line.second != 0;
    html += "<tr><td>";
    if (source.name.empty())
      html += "unnamed-source-" + std::to_string(cookie);
    else
      m_markup.Append(html, source.name);
    html += "</td><td class=\"num\">" + std::to_string(source.lines.size()) +
            "</td><td class=\"num\">" + std::to_string(run) + "</td></tr>\n";
  }
  return html + "</tbody>\n</table>\n";
}

void CHtmlReporter::OnEnd(const CRunModel& model) {
  m_formatter.Flush();
  std::string html = "<!DOCTYPE html>\n<html lang=\"" + m_language +
                     "\">\n<head>\n<meta charset=\"utf-8\">\n<title>Probex log ";
  CMarkupText::AppendUtf8(html, m_logName);
  html += "</title>\n";
  html += kPageStyle;
  html += "</head>\n<body>\n<h1>Probex log</h1>\n<p class=\"meta\">";
  CMarkupText::AppendUtf8(html, m_logName);
  if (!model.Version().empty()) {
    html += " &middot; version ";
    m_markup.Append(html, model.Version());
  }
  const std::string incomplete = model.Incomplete();
  html += "</p>\n";
  if (!incomplete.empty()) {
    html += "<p id=\"incomplete\" class=\"fail\">Incomplete run: ";
    m_markup.Append(html, incomplete);
    html += "</p>\n";
  }
  const std::string noCase = model.NoCaseRan();
  if (!noCase.empty()) {
    html += "<p id=\"no-case\" class=\"fail\">Failed: ";
    m_markup.Append(html, noCase);
    html += "</p>\n";
  }
  html += std::string("<p id=\"summary\" class=\"") +
          (model.Failed() || !incomplete.empty() ? "fail" : "pass") + "\">" + model.Summary() +
          "</p>\n<h2>Results</h2>\n" + m_Results(model);
  if (model.Totals().failed > 0)
    html += "<h2>Failures</h2>\n" + m_Failures(model);
  if (!model.SuiteResults().empty()) {
    html += "<h2>Suite results</h2>\n<pre id=\"suite-results\">";
    for (const std::string& line : model.SuiteResults()) {
      m_markup.Append(html, line);
      html += '\n';
    }
    html += "</pre>\n";
  }
  if (!model.Coverage().Empty())
    html += m_Coverage(model);
  if (!model.Issues().Empty()) {
    html += "<h2>Reader notes</h2>\n<ul id=\"issues\">\n";
    for (const std::string& line : model.Issues().Describe()) {
      html += "<li>";
      CMarkupText::AppendUtf8(html, line);
      html += "</li>\n";
    }
    html += "</ul>\n";
  }
  m_out << html << "<h2>Transcript</h2>\n<pre id=\"transcript\">" << m_transcript;
  if (m_cut)
    m_out << "\n<span class=\"warning\">The transcript stops here; the log holds the rest.</span>";
  m_out << "</pre>\n</body>\n</html>\n";
}
