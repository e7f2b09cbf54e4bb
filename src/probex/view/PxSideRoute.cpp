#include "probex/view/PxSideRoute.h"

#include "probex/platform/platform.h"
#include "probex/view/ProbexRecordSink.h"
#include "probex/view/ProbexView.h"
#include "probex/view/PxLogWriter.h"

#include <typeinfo>

CProbexRecordSink::~CProbexRecordSink() = default;

CProbexRecordSink* PxRecordSinkOf(CProbexView* view) {
  return dynamic_cast<CProbexRecordSink*>(view);
}

void PxWriteSideRecord(CProbexView* view, const char* text, unsigned kind) {
  if (view && typeid(*view) != typeid(CProbexView))
    return;
  if (!NPxPlatform::IsDebuggerPresent())
    PxLogWriter().WriteSideRecord(text, kind);
}

void PxSendSideRecord(CProbexView* view, const char* text, unsigned kind) {
  if (CProbexRecordSink* sink = PxRecordSinkOf(view))
    sink->OutputRecord(text, kind);
  else
    PxWriteSideRecord(view, text, kind);
}
