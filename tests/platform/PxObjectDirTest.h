// A fixture that gives each test a namespace directory of its own (through
// PROBEX_OBJECT_DIR), so tests under ctest -j never meet, and removes it.
#pragma once

#include <gtest/gtest.h>

#include <string>

class CPxObjectDirTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  // Object files in the directory, not counting the lock file.
  int ObjectFileCount() const;

  std::string m_dir;
};
