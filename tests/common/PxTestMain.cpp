// Every test process gets a temporary directory of its own, named in
// TMPDIR, and a named-object namespace inside it, so that tests may run in
// parallel and leave nothing behind; both are removed at the end.
#include "common/PxTestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const std::string dir = PxMakeTempDir("probex-test");
  if (dir.empty()) {
    std::perror("mkdtemp");
    return 2;
  }
  ::setenv("TMPDIR", dir.c_str(), 1);
  ::setenv("PROBEX_OBJECT_DIR", (dir + "/objects").c_str(), 1);
  const int rc = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  return rc;
}
