// The viewer's command line, taken apart. Parsing never exits: it says
// what to do (run, show help or version) or what was wrong.
#pragma once

#include <string>
#include <vector>

enum EViewerAction { VIEWER_RUN, VIEWER_HELP, VIEWER_VERSION, VIEWER_USAGE_ERROR };
enum EColourMode { COLOUR_AUTO, COLOUR_ALWAYS, COLOUR_NEVER };

struct SViewerOptions {
  EViewerAction action = VIEWER_RUN;
  std::string error;      // for VIEWER_USAGE_ERROR
  std::string log;        // a log path given as it is
  std::string viewerName; // /x: the name the library started the viewer with
  std::string latestOf;   // --latest: a program whose newest log to read
  bool follow = false;
  std::string html, junit, lcov;
  EColourMode colour = COLOUR_AUTO;
  std::string encoding; // empty: the locale's
};

SViewerOptions PxParseViewerOptions(const std::vector<std::string>& args);
// The text of --help.
std::string PxViewerUsage();
