#include "platform/PxObjectDirTest.h"

#include "common/PxChildProcess.h"

#include <cstdlib>
#include <filesystem>

void CPxObjectDirTest::SetUp() {
  m_dir = PxMakeTempDir("objects");
  ASSERT_FALSE(m_dir.empty());
  ::setenv("PROBEX_OBJECT_DIR", m_dir.c_str(), 1);
}

void CPxObjectDirTest::TearDown() {
  ::unsetenv("PROBEX_OBJECT_DIR");
  std::error_code ignored;
  std::filesystem::remove_all(m_dir, ignored);
}

int CPxObjectDirTest::ObjectFileCount() const {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(m_dir))
    count += entry.path().filename() != ".lock";
  return count;
}
