#include "app/ViewerOptions.h"

namespace {

// Options that take a value, as "--name VALUE" or "--name=VALUE".
struct SValueOption {
  const char* name;
  std::string SViewerOptions::*field;
};

const SValueOption kValueOptions[] = {
    {"--latest", &SViewerOptions::latestOf},   {"--html", &SViewerOptions::html},
    {"--junit", &SViewerOptions::junit},       {"--lcov", &SViewerOptions::lcov},
    {"--encoding", &SViewerOptions::encoding}, {"--lang", &SViewerOptions::language},
};

SViewerOptions UsageError(const std::string& error) {
  SViewerOptions options;
  options.action = EViewerAction::UsageError;
  options.error = error;
  return options;
}

// The library passes the name as one argument; a name that reached us
// through a shell string may still carry its quotation marks.
std::string Unquote(const std::string& name) {
  if (name.size() >= 2 && name.front() == '"' && name.back() == '"')
    return name.substr(1, name.size() - 2);
  return name;
}

} // namespace

SViewerOptions PxParseViewerOptions(const std::vector<std::string>& args) {
  SViewerOptions options;
  bool onlyOperands = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (onlyOperands || arg.empty() || arg[0] != '-' || arg == "-") {
      if (arg == "/x" && !onlyOperands) {
        if (i + 1 == args.size())
          return UsageError("/x needs the name of a log");
        options.viewerName = Unquote(args[++i]);
        continue;
      }
      if (!options.log.empty())
        return UsageError("more than one log given: " + arg);
      options.log = arg;
      continue;
    }
    if (arg == "--") {
      onlyOperands = true;
    } else if (arg == "-h" || arg == "--help") {
      options.action = EViewerAction::Help;
      return options;
    } else if (arg == "-V" || arg == "--version") {
      options.action = EViewerAction::Version;
      return options;
    } else if (arg == "-f" || arg == "--follow") {
      options.follow = true;
    } else if (arg == "--errors") {
      options.errors = true;
    } else {
      const std::size_t eq = arg.find('=');
      const std::string name = arg.substr(0, eq);
      std::string value;
      if (name == "--color" || name == "--colour") {
        value = eq == std::string::npos ? "always" : arg.substr(eq + 1);
        if (value == "auto")
          options.colour = EColourMode::Auto;
        else if (value == "always")
          options.colour = EColourMode::Always;
        else if (value == "never")
          options.colour = EColourMode::Never;
        else
          return UsageError("--color takes auto, always or never, not " + value);
        continue;
      }
      const SValueOption* match = nullptr;
      for (const SValueOption& option : kValueOptions)
        if (name == option.name)
          match = &option;
      if (!match)
        return UsageError("unknown option " + arg);
      if (eq != std::string::npos)
        value = arg.substr(eq + 1);
      else if (i + 1 < args.size())
        value = args[++i];
      else
        return UsageError(name + " needs a value");
      if (value.empty())
        return UsageError(name + " needs a value");
      options.*match->field = value;
    }
  }
  if (!options.language.empty() && options.language != "ja" && options.language != "en")
    return UsageError("--lang takes ja or en, not " + options.language);
  const int sources =
      !options.log.empty() + !options.viewerName.empty() + !options.latestOf.empty();
  if (sources == 0)
    return UsageError("no log given");
  if (sources > 1)
    return UsageError("give one of LOG, --latest PROGRAM and /x NAME");
  return options;
}

std::string PxViewerUsage() {
  return "Usage: DiVov.exe [OPTION]... LOG\n"
         "  or:  DiVov.exe [OPTION]... --latest PROGRAM\n"
         "  or:  DiVov.exe /x NAME\n"
         "Show a Probex test log as a transcript, converted from CP932 to the\n"
         "terminal's encoding, followed by a one-line summary.\n"
         "\n"
         "  -f, --follow          keep reading as the log grows, until its writer ends\n"
         "      --latest PROGRAM  read the newest log of PROGRAM in the temporary directory\n"
         "      --html FILE       also write a self-contained HTML report to FILE\n"
         "      --junit FILE      also write JUnit XML to FILE\n"
         "      --lcov FILE       also write an lcov tracefile of the log's coverage\n"
         "                        records to FILE (not written when there are none)\n"
         "      --color[=WHEN]    colour the transcript: auto (on a terminal), always, never\n"
         "      --encoding NAME   the transcript's encoding (default: the locale's)\n"
         "      --lang LANG       the library's texts in ja (as logged) or en; the\n"
         "                        default is ja in a ja_* locale, else en\n"
         "      --errors          print only the failures, one per line, as\n"
         "                        FILE:LINE: error: TEXT, instead of the transcript\n"
         "  -h, --help            show this help and exit\n"
         "  -V, --version         show the version and exit\n"
         "\n"
         "/x NAME is how a test program starts the viewer: the log is the file title\n"
         "of NAME in $TMPDIR (else /tmp); the viewer leaves the terminal, follows\n"
         "the log while the test program lives and then writes LOG.html beside it.\n"
         "\n"
         "Exit status:\n"
         "  0  every check passed\n"
         "  1  a check failed, a class could not run or end as declared (no caption,\n"
         "     no end marker), or no case ran (unless PROBEX_ALLOW_NO_CASES=1)\n"
         "  2  the run is incomplete (the program ended abnormally, the log is cut,\n"
         "     damaged or empty, or ends before its results), or trouble: bad\n"
         "     usage, a log that cannot be read, a report that cannot be written\n";
}
