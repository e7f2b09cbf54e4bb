// A stand-in for the viewer program: a script named DiVov.exe, put first on
// PATH, that records the arguments of every start in a file.
#pragma once

#include <string>
#include <vector>

class CPxViewerStandIn {
public:
  // Makes the script in a fresh directory under TMPDIR.
  CPxViewerStandIn();
  // PATH with the script's directory first.
  std::string Path() const;
  // One entry per start, its arguments joined by newlines.
  std::vector<std::string> Starts() const;

private:
  std::string m_directory;
};
