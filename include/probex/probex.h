// Everything a test program needs: #include <probex/probex.h>.
//
//   class CStackTest : public CProbex {
//   public:
//     CStackTest() { PX_CAPTION_CLASS("Stack"); }
//     PX_CASE(Push) {
//       PX_CASE_CAPTION("push one value");
//       PX_ASSERT_EQUAL(Depth(), 1);
//     }
//     PX_DECLARATION_END();
//   };
//   int main() {
//     CStackTest().Run();
//     return PxExitStatus();
//   }
#pragma once

#include "probex/base/PxApi.h"
#include "probex/base/PxMsgType.h"
#include "probex/base/PxSideKind.h"
#include "probex/concurrent/ProbexSync.h"
#include "probex/concurrent/ProbexSyncMacros.h"
#include "probex/concurrent/ProbexThread.h"
#include "probex/core/Probex.h"
#include "probex/core/ProbexMacros.h"
#include "probex/core/PxExitStatus.h"
#include "probex/coverage/PxCoverage.h"
#include "probex/coverage/PxInstrument.h"
#include "probex/suite/ProbexSuite.h"
#include "probex/support/KrnSupport.h"
#include "probex/view/ProbexRecordSink.h"
#include "probex/view/ProbexView.h"
