// Helpers of the viewer's process tests: real runs of the scenario program,
// the viewer run on their logs, and approved files.
#pragma once

#include "common/PxChildProcess.h"

#include <string>
#include <vector>

// Runs the scenario program in the mode, alone in a fresh temporary
// directory, with no viewer on its PATH; returns its log's path.
std::string PxRunScenarioLog(const std::string& mode);

// The log in the directory; "" while there is none.
std::string PxLogIn(const std::string& dir);

// Runs DiVov.exe with the arguments and, if given, that temporary directory.
SPxChildResult PxRunViewer(const std::vector<std::string>& args, const std::string& tmpDir = "");

// The text with the scenario sources' folder and the cases' times made fixed.
std::string PxStableTranscript(const std::string& text);

// Compares the text with the approved file; PX_APPROVE=1 rewrites the file.
void PxExpectApproved(const std::string& name, const std::string& text);

// The number of the first line of the scenario's source that holds the text.
std::string PxScenarioLine(const std::string& text);

std::string PxDirectoryOf(const std::string& path);
