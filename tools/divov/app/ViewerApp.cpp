#include "app/ViewerApp.h"
#include "probex/base/PxLogFormat.h"

#include "app/LogFollower.h"
#include "app/LogLocator.h"
#include "app/RecordFan.h"
#include "app/ViewerOs.h"
#include "model/EnglishTexts.h"
#include "probex/base/PxApi.h"
#include "probex/base/PxNoCaseRun.h"
#include "probex/platform/OwnFile.h"
#include "probex/platform/TerminalText.h"
#include "report/ErrorsReporter.h"
#include "report/HtmlReporter.h"
#include "report/JunitReporter.h"
#include "report/LcovReporter.h"
#include "report/TranscriptReporter.h"

#include <filesystem>
#include <memory>
#include <sstream>

namespace {

const char kProgramName[] = "DiVov.exe";
// How often a follow looks at the file and the writer's marker again.
constexpr unsigned kPollMilliseconds = 200;

// A report that goes to a file once the log has been read.
struct SFileOutput {
  std::string path;
  std::ostringstream text;
  std::unique_ptr<CReporter> reporter;
  bool coverage = false; // written only when the log holds coverage records
};

// The report files asked for; with /x, the HTML report beside the log.
std::vector<std::unique_ptr<SFileOutput>> FileOutputs(const SViewerOptions& options,
                                                      const std::string& logPath, bool detached,
                                                      bool english) {
  std::vector<std::unique_ptr<SFileOutput>> files;
  const auto add = [&files](const std::string& path, bool coverage) -> std::ostream& {
    files.push_back(std::make_unique<SFileOutput>());
    files.back()->path = path;
    files.back()->coverage = coverage;
    return files.back()->text;
  };
  if (detached || !options.html.empty()) {
    std::ostream& out = add(detached ? logPath + ".html" : options.html, false);
    files.back()->reporter = std::make_unique<CHtmlReporter>(out, logPath, english ? "en" : "ja");
  }
  if (!options.junit.empty()) {
    std::ostream& out = add(options.junit, false);
    files.back()->reporter = std::make_unique<CJunitReporter>(out);
  }
  if (!options.lcov.empty()) {
    std::ostream& out = add(options.lcov, true);
    files.back()->reporter = std::make_unique<CLcovReporter>(out);
  }
  return files;
}

// The reporters on standard output: the transcript, or the --errors list.
struct SScreenOutput {
  std::unique_ptr<CTranscriptReporter> transcript;
  std::unique_ptr<CErrorsReporter> errors;
};

bool InEnglish(const SViewerOptions& options) {
  if (!options.language.empty())
    return options.language == "en";
  return PxLanguageOfLocale(NPxPlatform::LocaleName("LC_MESSAGES")) == ETranscriptLanguage::English;
}

// False, with the reason on err, when the asked encoding is unknown.
bool OpenScreen(const SViewerOptions& options, const std::string& logPath, std::ostream& out,
                std::ostream& err, SScreenOutput& screen) {
  const bool colour = options.colour == EColourMode::Always ||
                      (options.colour == EColourMode::Auto && NViewerOs::IsStdoutTerminal());
  const std::string encoding =
      options.encoding.empty() ? NViewerOs::OutputEncoding() : options.encoding;
  if (!CTextConverter(encoding).Valid()) {
    err << kProgramName << ": unknown encoding " << encoding << "\n";
    return false;
  }
  if (options.errors)
    screen.errors = std::make_unique<CErrorsReporter>(out, encoding, logPath);
  else
    screen.transcript = std::make_unique<CTranscriptReporter>(out, encoding, colour);
  return true;
}

std::vector<CReporter*> AllReporters(const SScreenOutput& screen,
                                     const std::vector<std::unique_ptr<SFileOutput>>& files) {
  std::vector<CReporter*> reporters;
  if (screen.transcript)
    reporters.push_back(screen.transcript.get());
  if (screen.errors)
    reporters.push_back(screen.errors.get());
  for (const auto& file : files)
    reporters.push_back(file->reporter.get());
  return reporters;
}

// Reads the log (following it while its writer lives, when asked) into the
// model and every reporter; false, with the reason on err, when it cannot.
bool ReadLog(const std::string& logPath, bool follow, CLogReader& reader, CRecordFan& fan,
             std::ostream& err) {
  const std::vector<CReporter*>& reporters = fan.Reporters();
  CLogFollower follower(reader, [&fan](const SLogRecord& record) { fan.Add(record); });
  const std::string marker = NPxLogFormat::MarkerName(NLogLocator::WriterSpelling(logPath));
  CLogFollower::SHooks hooks;
  // The file's own hold answers when the object folder cannot be used.
  hooks.writerAlive = [&marker, &logPath] {
    return NViewerOs::IsWriterAlive(marker) || NPxPlatform::IsFileInUse(logPath);
  };
  hooks.idle = [&reporters] {
    for (CReporter* reporter : reporters)
      reporter->OnIdle();
  };
  hooks.pause = [] { NViewerOs::Pause(kPollMilliseconds); };
  std::string error;
  if (!follower.Read(logPath, follow, hooks, error)) {
    err << kProgramName << ": " << error << "\n";
    return false;
  }
  return true;
}

// The files come last, whole: a report is never left half written by an
// unreadable log. Returns status, or 2 when a file could not be written.
int WriteFiles(const std::string& logPath, const CRunModel& model,
               const std::vector<std::unique_ptr<SFileOutput>>& files, int status,
               std::ostream& err) {
  for (const auto& file : files) {
    if (file->coverage && model.Coverage().Empty()) {
      err << kProgramName << ": " << logPath << ": no coverage records, " << file->path
          << " not written\n";
      continue;
    }
    // Owner-only, and never through a link or over another user's file.
    std::string why;
    if (!NPxPlatform::WriteOwnFile(file->path, file->text.str(), why)) {
      err << kProgramName << ": cannot write " << file->path << ": " << why << "\n";
      status = 2;
    }
  }
  return status;
}

} // namespace

int CViewerApp::Run(const SViewerOptions& options) {
  switch (options.action) {
  case EViewerAction::Help:
    m_out << PxViewerUsage();
    return 0;
  case EViewerAction::Version:
    m_out << kProgramName << " (Probex) " << PX_VERSION_TEXT << "\n";
    return 0;
  case EViewerAction::UsageError:
    m_err << kProgramName << ": " << options.error << "\n"
          << "Try '" << kProgramName << " --help' for more information.\n";
    return 2;
  case EViewerAction::Run:
    break;
  }
  if (!options.viewerName.empty()) {
    NViewerOs::DetachFromTerminal();
    // The writer made its log before starting us: anything else there was
    // planted by someone else.
    const std::string log = NLogLocator::LogPathFromViewerName(options.viewerName);
    std::error_code none;
    if (std::filesystem::exists(std::filesystem::symlink_status(log, none)) &&
        !NPxPlatform::IsOwnFile(log)) {
      m_err << kProgramName << ": " << log << " is not a file of yours, so it is not read\n";
      return 2;
    }
    return m_View(options, log, true);
  }
  if (!options.latestOf.empty()) {
    const std::string latest = NLogLocator::LatestLog(options.latestOf);
    if (latest.empty()) {
      m_err << kProgramName << ": no log of " << options.latestOf
            << " in the temporary directory\n";
      return 2;
    }
    return m_View(options, latest, false);
  }
  return m_View(options, options.log, false);
}

int CViewerApp::m_View(const SViewerOptions& options, const std::string& logPath, bool detached) {
  CLogReader reader;
  const bool english = InEnglish(options);
  CRunModel model(reader.Issues(),
                  english ? ETranscriptLanguage::English : ETranscriptLanguage::Japanese);
  // The setting that lets the program pass a run of no case lets us too.
  model.AllowNoCases(NPxNoCaseRun::Allowed());
  const std::vector<std::unique_ptr<SFileOutput>> files =
      FileOutputs(options, logPath, detached, english);
  SScreenOutput screen;
  if (!detached && !OpenScreen(options, logPath, m_out, m_err, screen))
    return 2;
  const std::vector<CReporter*> reporters = AllReporters(screen, files);
  CRecordFan fan(model, reporters, english);
  if (!ReadLog(logPath, options.follow || detached, reader, fan, m_err))
    return 2;
  for (CReporter* reporter : reporters)
    reporter->OnIdle();
  if (screen.transcript && screen.transcript->ReplacedBytes() != 0)
    reader.Issues().Add(EReadIssue::BadText, 0, screen.transcript->ReplacedBytes());
  for (CReporter* reporter : reporters)
    reporter->OnEnd(model);
  for (const std::string& line : reader.Issues().Describe())
    m_err << kProgramName << ": " << logPath << ": " << line << "\n";

  // An incomplete run is no pass, whatever its checks say.
  const int status = !model.Incomplete().empty()                                      ? 2
                     : (screen.errors ? screen.errors->Count() != 0 : model.Failed()) ? 1
                                                                                      : 0;
  return WriteFiles(logPath, model, files, status, m_err);
}
