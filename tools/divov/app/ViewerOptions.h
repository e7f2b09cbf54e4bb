// The viewer's command line, taken apart. Parsing never exits: it says
// what to do (run, show help or version) or what was wrong.
#pragma once

#include <string>
#include <vector>

enum class EViewerAction { Run, Help, Version, UsageError };
enum class EColourMode { Auto, Always, Never };

struct SViewerOptions {
  EViewerAction action = EViewerAction::Run;
  std::string error;      // for EViewerAction::UsageError
  std::string log;        // a log path given as it is
  std::string viewerName; // /x: the name the library started the viewer with
  std::string latestOf;   // --latest: a program whose newest log to read
  bool follow = false;
  std::string html, junit, lcov;
  EColourMode colour = EColourMode::Auto;
  std::string encoding; // empty: the locale's
  std::string language; // "ja" or "en"; empty: by the locale
  bool errors = false;  // --errors: only the failures, as compilers list errors
};

SViewerOptions PxParseViewerOptions(const std::vector<std::string>& args);
// The text of --help.
std::string PxViewerUsage();
