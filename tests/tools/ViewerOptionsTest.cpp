// The command line: every form an option may take, and the mistakes.
#include "ViewerOptions.h"

#include <gtest/gtest.h>

namespace {

SViewerOptions Parse(std::vector<std::string> args) {
  return PxParseViewerOptions(args);
}

TEST(ViewerOptions, TakesOptionsInBothFormsAndInAnyOrder) {
  const SViewerOptions o = Parse({"--html", "r.html", "log", "--junit=j.xml", "-f", "--lcov",
                                  "c.info", "--color=never", "--encoding", "EUC-JP"});
  EXPECT_EQ(o.action, VIEWER_RUN);
  EXPECT_EQ(o.log, "log");
  EXPECT_EQ(o.html, "r.html");
  EXPECT_EQ(o.junit, "j.xml");
  EXPECT_EQ(o.lcov, "c.info");
  EXPECT_TRUE(o.follow);
  EXPECT_EQ(o.colour, COLOUR_NEVER);
  EXPECT_EQ(o.encoding, "EUC-JP");
  EXPECT_EQ(Parse({"--color", "x"}).colour, COLOUR_ALWAYS);
  EXPECT_EQ(Parse({"--", "--html"}).log, "--html");
}

TEST(ViewerOptions, StartedByTheLibraryWithAQuotedOrBareName) {
  EXPECT_EQ(Parse({"/x", "/w/t.exe.20120919_08484200.qpxlog"}).viewerName,
            "/w/t.exe.20120919_08484200.qpxlog");
  EXPECT_EQ(Parse({"/x", "\"C:\\w\\t.exe.x.qpxlog\""}).viewerName, "C:\\w\\t.exe.x.qpxlog");
  EXPECT_EQ(Parse({"--latest", "prog"}).latestOf, "prog");
}

TEST(ViewerOptions, HelpAndVersionWinOverEverythingElse) {
  EXPECT_EQ(Parse({"--bogus", "-h"}).action, VIEWER_USAGE_ERROR);
  EXPECT_EQ(Parse({"log", "--help", "--bogus"}).action, VIEWER_HELP);
  EXPECT_EQ(Parse({"-V"}).action, VIEWER_VERSION);
  EXPECT_NE(PxViewerUsage().find("--latest PROGRAM"), std::string::npos);
}

TEST(ViewerOptions, RefusesWhatItCannotDo) {
  for (const std::vector<std::string>& args :
       std::vector<std::vector<std::string>>{{},
                                             {"a", "b"},
                                             {"a", "--latest", "p"},
                                             {"/x"},
                                             {"a", "--html"},
                                             {"a", "--html="},
                                             {"a", "--color=sometimes"},
                                             {"a", "--nope"}}) {
    const SViewerOptions o = PxParseViewerOptions(args);
    EXPECT_EQ(o.action, VIEWER_USAGE_ERROR) << ::testing::PrintToString(args);
    EXPECT_FALSE(o.error.empty());
  }
}

} // namespace
