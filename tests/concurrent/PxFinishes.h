// Runs a call that must return on its own (a sync point that must not
// wait) and ends the test process with a message when it does not, so a
// fault fails loudly instead of hanging the suite.
#pragma once

#include <functional>

void PxExpectFinishes(const std::function<void()>& call, const char* what);
