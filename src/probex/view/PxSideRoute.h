// Where a side record goes: to a sink that takes records, else to the log,
// but only where the messages themselves go to the log (no sink of its own,
// or a plain CProbexView), no debugger listens, and the log is already open.
// The debugger stream never carries one.
#pragma once

class CProbexRecordSink;
class CProbexView;

// The sink of side records that view also is; null for none or a null view.
CProbexRecordSink* PxRecordSinkOf(CProbexView* view);
// The log's part: view is the sink the messages go to, null for the default.
void PxWriteSideRecord(CProbexView* view, const char* text, unsigned kind);
// Both: to view itself when it takes records, else the log's part.
void PxSendSideRecord(CProbexView* view, const char* text, unsigned kind);
