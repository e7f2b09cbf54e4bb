#include "probex/view/PxSideRoute.h"

#include "probex/platform/platform.h"
#include "probex/view/ProbexRecordSink.h"
#include "probex/view/ProbexView.h"
#include "probex/view/PxLogWriter.h"

#include <typeinfo>

CProbexRecordSink::~CProbexRecordSink() = default;

void PxSendSideRecord(CProbexView* view, const char* text, unsigned kind) {
  if (view) {
    if (auto* sink = dynamic_cast<CProbexRecordSink*>(view)) {
      sink->OutputRecord(text, kind);
      return;
    }
    if (typeid(*view) != typeid(CProbexView))
      return;
  }
  if (!NPxPlatform::IsDebuggerPresent())
    PxLogWriter().WriteSideRecord(text, kind);
}
