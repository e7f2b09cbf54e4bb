// Following a log that a live test program writes: a viewer run with
// --follow shows the first half while the program waits at its gate, and
// the viewer that the program starts through /x writes its report beside
// the log. Both end with the program, whether it finishes or is killed.
#include "ViewerTestSupport.h"
#include "platform/PxParty.h"

#include <signal.h>

#include <gtest/gtest.h>

namespace {

TEST(DiVovFollow, ShowsTheLogAsItGrowsAndEndsWithItsWriter) {
  for (const bool killed : {false, true}) {
    SCOPED_TRACE(killed ? "writer killed" : "writer finishes");
    const std::string dir = PxMakeTempDir("halfway");
    const std::string objects = PxMakeTempDir("objects");
    const std::string gate = PxMakeTempDir("gate");
    CPxParty writer;
    ASSERT_TRUE(writer.Start({"/usr/bin/env", "TMPDIR=" + dir, "PROBEX_OBJECT_DIR=" + objects,
                              "PATH=" + PxDirectoryOf(PX_DIVOV_PATH),
                              PxScenarioPath("px_class_scenario"), "halfway", gate}));
    std::string log;
    ASSERT_TRUE(PxEventually([&] { return !(log = PxLogIn(dir)).empty(); }));
    CPxParty viewer;
    ASSERT_TRUE(viewer.Start({"/usr/bin/env", "PROBEX_OBJECT_DIR=" + objects, PX_DIVOV_PATH,
                              "--follow", "--color=never", log}));
    // A viewer that ended early gives empty lines: the count bounds the wait.
    std::string shown;
    for (int lines = 0; lines < 100000 && shown.find(">> Failures \t0\n") == std::string::npos;
         ++lines)
      shown += viewer.ReadLine() + "\n";
    ASSERT_NE(shown.find(">> Failures \t0\n"), std::string::npos) << shown.substr(0, 2000);
    EXPECT_EQ(shown.find("[scenario]"), std::string::npos);
    if (killed) {
      writer.Kill();
      EXPECT_EQ(writer.Wait(), -SIGKILL);
    } else {
      std::ofstream{gate + "/open"};
      EXPECT_EQ(writer.ReadAll(), ""); // the /x viewer wrote nothing into the program's output
      EXPECT_EQ(writer.Wait(), 0);
    }
    shown += viewer.ReadAll();
    EXPECT_EQ(viewer.Wait(), killed ? 0 : 1);
    const std::string summary =
        killed ? "1 class, 0 cases, 0 passed, 0 failed" : "2 classes, 2 cases, 1 passed, 1 failed";
    // A killed writer leaves its last record cut, which is taken as it stands.
    EXPECT_NE(shown.find(killed ? std::string(7999, 'x') + "\nSummary: " + summary + "\n"
                                : std::string(9000, 'x') + "\nProbex  Ver1.40\n[scenario]\n"),
              std::string::npos);
    EXPECT_NE(shown.find("Summary: " + summary + "\n"), std::string::npos);
    // The report is the /x viewer's last act; it comes once the writer is gone.
    std::string html;
    EXPECT_TRUE(PxEventually([&] {
      html = PxReadFile(log + ".html");
      return html.size() > 8 && html.compare(html.size() - 8, 8, "</html>\n") == 0;
    }));
    EXPECT_NE(html.find("<p id=\"summary\" class=\"" + std::string(killed ? "pass" : "fail") +
                        "\">" + summary + "</p>"),
              std::string::npos)
        << html;
  }
}

} // namespace
