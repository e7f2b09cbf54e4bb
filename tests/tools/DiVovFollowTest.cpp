// Following a log that a live test program is writing: the viewer shows
// the first half while the program waits, and ends when the program ends,
// whether it finishes or is killed. Started by the program itself through
// /x, it reports the whole run once the program has ended.
#include "BackgroundChild.h"
#include "ViewerTestSupport.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

std::string LogIn(const std::string& dir) {
  std::string log;
  PxAwait([&] {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(dir, error))
      if (entry.path().extension() == ".qpxlog")
        log = entry.path().string();
    return !log.empty();
  });
  return log;
}

TEST(DiVovFollow, ShowsTheLogAsItGrowsAndEndsWithItsWriter) {
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "writer killed" : "writer finishes");
    const std::string dir = PxMakeTempDir("halfway");
    const std::string gate = dir + "/gate";
    CBackgroundChild writer({PxScenarioPath("px_viewer_scenario"), "halfway", gate},
                            {{"TMPDIR", dir}, {"PATH", PxMakeTempDir("no-viewer")}});
    ASSERT_TRUE(writer.Started());
    const std::string log = LogIn(dir);
    ASSERT_FALSE(log.empty());
    CBackgroundChild viewer({PxViewerPath(), "--follow", "--color=never", log}, {});
    // The first half is out while the writer still waits at its gate.
    ASSERT_TRUE(viewer.ReadUntil(">> Failures \t0\n")) << viewer.Output();
    EXPECT_EQ(viewer.Output().find("second half"), std::string::npos);
    if (killed) {
      writer.Kill(SIGKILL);
      EXPECT_EQ(writer.Wait(), 128 + SIGKILL);
    } else {
      std::ofstream{gate};
      EXPECT_EQ(writer.Wait(), 0);
    }
    const int status = viewer.Wait();
    const std::string& shown = viewer.Output();
    if (killed) {
      EXPECT_EQ(status, 0);
      EXPECT_NE(
          shown.find(std::string(7999, 'x') + "\nSummary: 1 class, 1 case, 1 passed, 0 failed\n"),
          std::string::npos);
    } else {
      EXPECT_EQ(status, 1);
      EXPECT_NE(shown.find(std::string(9000, 'x') + "\n"), std::string::npos);
      EXPECT_NE(shown.find("[second half]\n-----fails after the wait\n"), std::string::npos)
          << shown;
      EXPECT_NE(shown.find("Summary: 2 classes, 2 cases, 1 passed, 1 failed\n"), std::string::npos);
    }
  }
}

TEST(DiVovFollow, StartedByATestProgramItReportsTheWholeRunWhenTheProgramEnds) {
  const std::string dir = PxMakeTempDir("started");
  const std::string gate = dir + "/gate";
  const std::string viewerDir = PxDirectoryOf(PxViewerPath());
  CBackgroundChild writer({PxScenarioPath("px_viewer_scenario"), "halfway", gate},
                          {{"TMPDIR", dir}, {"PATH", viewerDir}});
  ASSERT_TRUE(writer.Started());
  const std::string log = LogIn(dir);
  ASSERT_FALSE(log.empty());
  std::ofstream{gate};
  EXPECT_EQ(writer.Wait(), 0);
  EXPECT_EQ(writer.Output(), ""); // the viewer wrote nothing into the program's output
  // The report is the viewer's last act; it comes once the writer is gone.
  std::string html;
  EXPECT_TRUE(PxAwait([&] {
    html = PxReadFile(log + ".html");
    return html.size() > 8 && html.compare(html.size() - 8, 8, "</html>\n") == 0;
  }));
  EXPECT_NE(
      html.find("<p id=\"summary\" class=\"fail\">2 classes, 2 cases, 1 passed, 1 failed</p>"),
      std::string::npos)
      << html;
}

} // namespace
