// Following a log that a live test program is writing: the viewer shows
// the first half while the program waits, and ends when the program ends,
// whether it finishes or is killed. Started by the program itself through
// /x, it reports the whole run once the program has ended.
#include "ViewerTestSupport.h"
#include "platform/PxParty.h"

#include <signal.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

// The scenario program in halfway mode, in its own temporary directory and
// object namespace, with its own search path for the viewer.
bool StartHalfway(CPxParty& writer, const std::string& dir, const std::string& objects,
                  const std::string& path) {
  return writer.Start({"/usr/bin/env", "TMPDIR=" + dir, "PROBEX_OBJECT_DIR=" + objects,
                       "PATH=" + path, PxScenarioPath("px_viewer_scenario"), "halfway",
                       dir + "/gate"});
}

std::string LogIn(const std::string& dir) {
  std::string log;
  PxEventually([&] {
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
    const std::string objects = PxMakeTempDir("objects");
    CPxParty writer;
    ASSERT_TRUE(StartHalfway(writer, dir, objects, PxMakeTempDir("no-viewer")));
    const std::string log = LogIn(dir);
    ASSERT_FALSE(log.empty());
    CPxParty viewer;
    ASSERT_TRUE(viewer.Start({"/usr/bin/env", "PROBEX_OBJECT_DIR=" + objects, PxViewerPath(),
                              "--follow", "--color=never", log}));
    // The first half is out while the writer still waits at its gate. A
    // viewer that ended early gives empty lines: the count bounds the wait.
    std::string shown;
    for (int lines = 0; lines < 100000 && shown.find(">> Failures \t0\n") == std::string::npos;
         ++lines)
      shown += viewer.ReadLine() + "\n";
    ASSERT_NE(shown.find(">> Failures \t0\n"), std::string::npos) << shown.substr(0, 2000);
    EXPECT_EQ(shown.find("second half"), std::string::npos);
    if (killed) {
      writer.Kill();
      EXPECT_EQ(writer.Wait(), -SIGKILL);
    } else {
      std::ofstream{dir + "/gate"};
      EXPECT_EQ(writer.Wait(), 0);
    }
    shown += viewer.ReadAll();
    const int status = viewer.Wait();
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
  CPxParty writer;
  ASSERT_TRUE(StartHalfway(writer, dir, PxMakeTempDir("objects"), PxDirectoryOf(PxViewerPath())));
  const std::string log = LogIn(dir);
  ASSERT_FALSE(log.empty());
  std::ofstream{dir + "/gate"};
  EXPECT_EQ(writer.ReadAll(), ""); // the viewer wrote nothing into the program's output
  EXPECT_EQ(writer.Wait(), 0);
  // The report is the viewer's last act; it comes once the writer is gone.
  std::string html;
  EXPECT_TRUE(PxEventually([&] {
    html = PxReadFile(log + ".html");
    return html.size() > 8 && html.compare(html.size() - 8, 8, "</html>\n") == 0;
  }));
  EXPECT_NE(
      html.find("<p id=\"summary\" class=\"fail\">2 classes, 2 cases, 1 passed, 1 failed</p>"),
      std::string::npos)
      << html;
}

} // namespace
