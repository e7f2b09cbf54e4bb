// The Japanese texts, read through iconv as UTF-8: any wrong CP932 byte shows.
#include "probex/base/PxTexts.h"
#include "common/PxIconv.h"
#include "common/PxTestFiles.h"

namespace {

TEST(Texts, EveryTextIsTheCp932FormOfItsReadableText) {
  std::string all;
  for (const char* text :
       {NPxText::kCaptionWarning, NPxText::kEndMarkerWarning, NPxText::kFalseSuffix,
        NPxText::kMatched, NPxText::kAssertNg, NPxText::kCompareNg, NPxText::kExceptionOk,
        NPxText::kExceptionNg, NPxText::kCountNg, NPxText::kCountExpression,
        NPxText::kCountZeroExpression, NPxText::kPendingAssertNg, NPxText::kSuiteResultsHeading,
        NPxText::kViewerMissingCaption, NPxText::kViewerMissing, NPxText::kNullPointer,
        NPxText::kIndexOutOfBounds, NPxText::kInvalidParam, NPxText::kNotSupport})
    all += PxIconv("UTF-8", "CP932", text) + "\n";
  PxExpectApproved("core/approved/texts.txt", all);
}

} // namespace
