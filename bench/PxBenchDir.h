// A temporary folder of the benchmark's own, named in TMPDIR and as the
// named-object namespace while it lives, so a benchmark never meets a test
// run or another benchmark; it is removed at the end.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

class CPxBenchDir {
public:
  CPxBenchDir()
      : m_path((std::filesystem::temp_directory_path() / "probex-bench-XXXXXX").string()) {
    if (!::mkdtemp(m_path.data())) {
      m_path.clear();
      return;
    }
    ::setenv("TMPDIR", m_path.c_str(), 1);
    ::setenv("PROBEX_OBJECT_DIR", (m_path + "/objects").c_str(), 1);
    // Nor is a viewer started for the benchmark's logs: none is on this PATH.
    ::setenv("PATH", m_path.c_str(), 1);
  }
  ~CPxBenchDir() {
    std::error_code ignored;
    if (!m_path.empty())
      std::filesystem::remove_all(m_path, ignored);
  }
  CPxBenchDir(const CPxBenchDir&) = delete;
  CPxBenchDir& operator=(const CPxBenchDir&) = delete;

  bool IsReady() const { return !m_path.empty(); }

private:
  std::string m_path;
};
