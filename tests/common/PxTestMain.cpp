// Every test process gets a temporary directory of its own, named in
// TMPDIR (and, for Windows, TMP and TEMP), and a named-object namespace
// inside it, so that tests may run in parallel and leave nothing behind;
// both are removed at the end.
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string dir = PxMakeTempDir("probex-test");
  if (dir.empty()) {
    std::perror("probex-test directory");
    return 2;
  }
  for (const char* name : {"TMPDIR", "TMP", "TEMP"})
    PxSetEnv(name, dir);
  PxSetEnv("PROBEX_OBJECT_DIR", dir + "/objects");
  const int rc = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return rc;
}
