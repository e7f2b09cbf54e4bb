// The channel through which coverage records reach a sink: the running test
// case's sink while Run is active, the default sink otherwise.
#pragma once

#include "probex/view/PxMsgType.h"

class CProbexView;

// Not owned; the sink must stay alive while it is set.
void SetRecordView(CProbexView* view);
// Delivers one record under the channel's re-entrant lock.
void OutputRecord(const char* text, EPxMsgType kind);

// Holds the channel's lock for its scope. The log's close takes it before the
// log's own lock, so that the count records it sends from inside take the
// two locks in the same order as every other record: channel, then log.
class CPxRecordChannelGuard {
public:
  CPxRecordChannelGuard();
  ~CPxRecordChannelGuard();
  CPxRecordChannelGuard(const CPxRecordChannelGuard&) = delete;
  CPxRecordChannelGuard& operator=(const CPxRecordChannelGuard&) = delete;
};
