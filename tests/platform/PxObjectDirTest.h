// A fixture that gives each test a namespace directory of its own (through
// PROBEX_OBJECT_DIR), so tests under ctest -j never meet, and removes it.
#pragma once

#include "common/PxChildProcess.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

class CPxObjectDirTest : public ::testing::Test {
protected:
  void SetUp() override {
    m_dir = PxMakeTempDir("objects");
    ASSERT_FALSE(m_dir.empty());
    PxSetEnv("PROBEX_OBJECT_DIR", m_dir);
  }
  void TearDown() override {
    PxSetEnv("PROBEX_OBJECT_DIR", "");
    std::error_code ignored;
    std::filesystem::remove_all(m_dir, ignored);
  }
  // Object files in the directory, not counting the lock file.
  int ObjectFileCount() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(m_dir))
      count += entry.path().filename() != ".lock";
    return count;
  }

  std::string m_dir;
};
