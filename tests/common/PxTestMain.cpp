// Every test process gets a temporary directory of its own, named in
// TMPDIR, and a named-object namespace inside it, so that tests may run in
// parallel and leave nothing behind; both are removed at the end.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const char* parent = std::getenv("TMPDIR");
  std::string pattern = std::string(parent && *parent ? parent : "/tmp") + "/probex-test-XXXXXX";
  if (!::mkdtemp(pattern.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  ::setenv("TMPDIR", pattern.c_str(), 1);
  ::setenv("PROBEX_OBJECT_DIR", (pattern + "/objects").c_str(), 1);
  const int rc = RUN_ALL_TESTS();
  std::error_code ignored;
  std::filesystem::remove_all(pattern, ignored);
  return rc;
}
