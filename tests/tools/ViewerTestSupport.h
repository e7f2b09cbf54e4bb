// Helpers of the viewer's process tests: a real run of the viewer's scenario
// program that leaves its log, the viewer run on it, and approved files.
#pragma once

#include "common/PxChildProcess.h"

#include <string>
#include <vector>

// Runs the scenario program in the mode, alone in a fresh temporary
// directory and object namespace, with no viewer to be found; returns its
// log's path ("" if none).
std::string PxRunScenarioLog(const std::string& mode);

// The path of the DiVov.exe under test.
std::string PxViewerPath();

// Runs DiVov.exe with the arguments and the temporary directory.
SPxChildResult PxRunViewer(const std::vector<std::string>& args, const std::string& tmpDir = "");

// The transcript with what changes from run to run made fixed: the folder
// of the scenario sources and the times of cases.
std::string PxStableTranscript(const std::string& text);

// Compares the text with the approved file of that name; with PX_APPROVE
// set in the environment it writes the file instead.
void PxExpectApproved(const std::string& name, const std::string& text);

// The number of the first line of the scenario program's source that holds
// the text, so that checks of locations survive edits of that source.
int PxScenarioLine(const std::string& text);

// A file of the viewer's tests (the schema, approved files).
std::string PxViewerTestFile(const std::string& name);

// The directory a path lies in.
std::string PxDirectoryOf(const std::string& path);
