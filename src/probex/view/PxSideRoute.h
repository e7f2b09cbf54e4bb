// Where a side record goes: to a sink that takes records, else to the log,
// but only where the messages themselves go to the log (no sink of its own,
// or a plain CProbexView), no debugger listens, and the log is already open.
// The debugger stream never carries one.
#pragma once

class CProbexView;

// view is the sink the messages go to; null for the default one.
void PxSendSideRecord(CProbexView* view, const char* text, unsigned kind);
