// What the library says on standard error about cases that a user wrote and
// that do not run. The sink's messages stay as they are; the process fails.
#pragma once

#include <string>
#include <vector>

// Cases that a class declares after the end marker of a class it derives
// from: the run loop stops at that marker, so they never run.
void PxTellCasesAfterEndMarker(const std::string& className, const std::vector<std::string>& cases);

// True when no case has run in this process and PROBEX_ALLOW_NO_CASES=1 does
// not allow that; the first time, says so, naming the filter when one is set.
// A filter that cannot be read has said already that nothing runs.
bool PxNoCaseRan();
