// The values of failed comparisons: their texts for each kind of value, the
// sinks that receive them beside the messages and those that do not, and
// the messages themselves, which stay exactly as they were.
#include "common/PxRecordingSink.h"
#include "common/PxTestFiles.h"
#include "common/PxValueChecks.h"
#include "probex/base/PxSideKind.h"
#include "probex/base/PxValueRecord.h"
#include "probex/view/ProbexRecordSink.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <thread>
#include <vector>

namespace {

// Keeps messages and side records in the one order they came in.
class CPxRecordAndMessageSink : public CPxRecordingSink, public CProbexRecordSink {
public:
  void OutputRecord(const char* text, unsigned kind) override {
    OutputMessage(text, static_cast<EPxMsgType>(kind));
  }
};

bool IsSide(const SPxMessage& message) {
  return NPxSideKind::IsSideKind(message.kind);
}
bool IsValues(const SPxMessage& message) {
  return static_cast<unsigned>(message.kind) == NPxSideKind::kValues;
}

// Drives x_AssertCompare directly, after a macro kept values.
class CDirect : public CProbex {
public:
  CDirect() { PX_CAPTION_CLASS("direct"); }
  PX_CASE(AfterAMacro) {
    PX_ASSERT_EQUAL(1, 2);
    x_AssertCompare(false, "a", "b");
    x_AssertCompareStr("x", "y", "s", "t");
  }
  PX_DECLARATION_END();
};

// The texts of the values records, each checked to follow the failure it
// belongs to; every failure has one.
std::vector<std::string> ValuesBehindFailures(const std::vector<SPxMessage>& all) {
  std::vector<std::string> texts;
  long failures = 0;
  for (std::size_t i = 0; i < all.size(); ++i) {
    failures += all[i].kind == PX_MSG_TEST_NG;
    if (!IsValues(all[i]))
      continue;
    EXPECT_TRUE(i > 0 && all[i - 1].kind == PX_MSG_TEST_NG) << i << ": " << all[i].text;
    texts.push_back(all[i].text);
  }
  EXPECT_EQ(static_cast<long>(texts.size()), failures);
  return texts;
}

// Every value kind, as the values records give it, approved; each record
// follows the failure it belongs to, and a passing check keeps none.
TEST(FailedValues, EachKindOfValueShowsAsApproved) {
  CPxValueChecks checks;
  CPxRecordAndMessageSink sink;
  checks.SetViewClass(&sink);
  checks.Run();
  std::string shown;
  for (const std::string& text : ValuesBehindFailures(sink.Messages())) {
    NPxValueRecord::SValues values;
    ASSERT_TRUE(NPxValueRecord::Read(text, values)) << text;
    shown += values.left.expression + ": " + values.left.value + "\n" + values.right.expression +
             ": " + values.right.value + "\n";
    if (values.differsAt >= 0)
      shown += "differs at " + std::to_string(values.differsAt) + "\n";
    // A value never forges a record or a line of a report.
    EXPECT_EQ(text.find_first_of("\r\n"), std::string::npos);
  }
  PxExpectApproved("core/approved/values.txt", shown);
}

// A plain sink receives exactly the messages a sink of records receives
// beside its records, and no record; x_AssertCompare called directly keeps
// no values, even right after a macro that did.
TEST(FailedValues, APlainSinkReceivesOnlyTheMessages) {
  for (const bool direct : {false, true}) {
    CPxRecordingSink plain;
    CPxRecordAndMessageSink both;
    std::vector<SPxMessage> messages[2];
    int run = 0;
    for (CPxRecordingSink* sink :
         {static_cast<CPxRecordingSink*>(&plain), static_cast<CPxRecordingSink*>(&both)}) {
      CPxValueChecks checks;
      CDirect calls;
      CProbex& testCase = direct ? static_cast<CProbex&>(calls) : checks;
      testCase.SetViewClass(sink);
      testCase.Run();
      messages[run++] = sink->Messages();
    }
    std::vector<SPxMessage> withoutSides;
    std::copy_if(messages[1].begin(), messages[1].end(), std::back_inserter(withoutSides),
                 [](const SPxMessage& m) { return !IsSide(m); });
    EXPECT_EQ(std::count_if(messages[0].begin(), messages[0].end(), IsSide), 0);
    EXPECT_EQ(PxTranscript(messages[0]), PxTranscript(withoutSides));
    // Beside the class's and the case's names, the one failure of the macro.
    if (direct) {
      EXPECT_EQ(messages[1].size() - withoutSides.size(), 3u);
    }
  }
}

// Threads that fail and end before their case has opened: their messages
// wait for it, and each failure's values wait with them, right behind it.
class CEarlyThreads : public CProbex {
public:
  CEarlyThreads() { PX_CAPTION_CLASS("early threads"); }
  PX_CASE(Fails) {
    std::vector<std::thread> threads;
    for (int index = 1; index <= 4; ++index)
      threads.emplace_back([this, index] {
        for (int i = 0; i < 200; ++i)
          PX_ASSERT_EQUAL(index, -i);
      });
    for (std::thread& thread : threads)
      thread.join();
    PX_CASE_CAPTION("captioned after its threads ended");
  }
  PX_DECLARATION_END();
};

TEST(FailedValues, AThreadsValuesFollowItsFailureWhileItsRecordsWaitForTheCase) {
  CPxRecordAndMessageSink sink;
  CEarlyThreads early;
  early.SetViewClass(&sink);
  early.Run();
  EXPECT_EQ(ValuesBehindFailures(sink.Messages()).size(), 4u * 200u);
}

} // namespace
