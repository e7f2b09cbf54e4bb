// The command line: every form an option may take, and the mistakes.
#include "ViewerOptions.h"

#include <gtest/gtest.h>

namespace {

TEST(ViewerOptions, TakesOptionsInBothFormsAndInAnyOrder) {
  const SViewerOptions o =
      PxParseViewerOptions({"--html", "r.html", "log", "--junit=j.xml", "-f", "--lcov", "c.info",
                            "--color=never", "--encoding", "EUC-JP"});
  EXPECT_EQ(o.action, VIEWER_RUN);
  EXPECT_EQ(o.log, "log");
  EXPECT_EQ(o.html, "r.html");
  EXPECT_EQ(o.junit, "j.xml");
  EXPECT_EQ(o.lcov, "c.info");
  EXPECT_TRUE(o.follow);
  EXPECT_EQ(o.colour, COLOUR_NEVER);
  EXPECT_EQ(o.encoding, "EUC-JP");
  EXPECT_EQ(PxParseViewerOptions({"--color", "x"}).colour, COLOUR_ALWAYS);
  EXPECT_EQ(PxParseViewerOptions({"--", "--html"}).log, "--html");
  EXPECT_EQ(PxParseViewerOptions({"/x", "/w/t.qpxlog"}).viewerName, "/w/t.qpxlog");
  EXPECT_EQ(PxParseViewerOptions({"/x", "\"C:\\t.qpxlog\""}).viewerName, "C:\\t.qpxlog");
}

TEST(ViewerOptions, HelpAndVersionWinOverMistakesThatComeAfterThem) {
  const std::pair<std::vector<std::string>, EViewerAction> cases[] = {
      {{"log", "--help", "--bogus"}, VIEWER_HELP},
      {{"-V"}, VIEWER_VERSION},
      {{"--bogus", "-h"}, VIEWER_USAGE_ERROR},
      {{}, VIEWER_USAGE_ERROR},
      {{"a", "b"}, VIEWER_USAGE_ERROR},
      {{"a", "--latest", "p"}, VIEWER_USAGE_ERROR},
      {{"/x"}, VIEWER_USAGE_ERROR},
      {{"a", "--html"}, VIEWER_USAGE_ERROR},
      {{"a", "--html="}, VIEWER_USAGE_ERROR},
      {{"a", "--color=sometimes"}, VIEWER_USAGE_ERROR}};
  for (const auto& [args, action] : cases) {
    const SViewerOptions o = PxParseViewerOptions(args);
    EXPECT_EQ(o.action, action) << ::testing::PrintToString(args);
    EXPECT_EQ(o.error.empty(), action != VIEWER_USAGE_ERROR) << ::testing::PrintToString(args);
  }
}

} // namespace
