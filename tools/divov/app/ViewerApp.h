// The viewer program: finds the log, reads (and follows) it, feeds the
// model and every reporter, writes the requested files and chooses the
// exit status.
#pragma once

#include "app/ViewerOptions.h"

#include <functional>
#include <ostream>

class CViewerApp {
public:
  CViewerApp(std::ostream& out, std::ostream& err) : m_out(out), m_err(err) {}
  // 0: every check passed; 1: a check failed or a class reported failures;
  // 2: bad usage or a log or report file that could not be read or written.
  int Run(const SViewerOptions& options);

private:
  int m_View(const SViewerOptions& options, const std::string& logPath, bool detached);

  std::ostream& m_out;
  std::ostream& m_err;
};
