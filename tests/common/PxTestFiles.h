// The files of a test: fresh temporary folders (every folder a test makes
// comes from here), the named-object folder of a test, and approved files
// that hold long expected outputs.
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

// A fresh directory under this test process's TMPDIR, which the test main
// makes and removes; empty when it cannot be made.
std::string PxMakeTempDir(const std::string& stem);

// The files of the folder whose names end in the extension, sorted.
std::vector<std::string> PxFilesIn(const std::string& dir, const std::string& extension);

// The whole content of a file; empty when it cannot be read.
std::string PxReadFile(const std::string& path);
// The content of the folder's one log; a failure when it holds none or more.
std::string PxOnlyLog(const std::string& dir);
// The records of a log's bytes, without their carriage returns; a cut last
// record is left out.
std::vector<std::string> PxRecords(const std::string& log);
// How often the part stands in the text, overlaps included.
std::size_t PxCount(const std::string& text, const std::string& part);

// Compares the text with tests/<name>; PX_APPROVE=1 rewrites the file instead.
void PxExpectApproved(const std::string& name, const std::string& text);

// The text as an approved file holds it: a Windows drive path as the POSIX
// path it stands for, the scenario sources' folder as "<scenarios>", the
// tests' own locations as "<tests>/FILE(N)", the times of cases as "Nms"
// (in HTML too), the build time of a log's header as "<built>".
std::string PxStable(const std::string& text);

// Gives each test a named-object folder of its own (PROBEX_OBJECT_DIR), so
// that tests of one process never meet, and removes it.
class CPxObjectDirTest : public ::testing::Test {
protected:
  void SetUp() override;
  void TearDown() override;
  int ObjectFileCount() const; // the lock file not counted
  // POSIX keeps named objects as files of the folder; the Windows kernel
  // keeps them where no folder shows them, so the count stays 0 there.
#if defined(_WIN32)
  static constexpr bool kObjectsAreFiles = false;
#else
  static constexpr bool kObjectsAreFiles = true;
#endif

  std::string m_dir;
};

#if !defined(_WIN32)
// A default object folder planted where this user's processes look when
// no folder is named: a fresh folder stands in for /dev/shm, another for the
// home. plant makes the folder at the path it is given.
struct SPxPlantedFolder {
  std::string folder;                     // the planted default folder
  std::string fallback;                   // where the objects go instead
  std::map<std::string, std::string> env; // for the processes of this user
};
SPxPlantedFolder PxPlantDefaultFolder(const std::function<void(const std::string&)>& plant);
#endif
