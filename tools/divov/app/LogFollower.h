// Reads a log from its start and, when following, on as the file grows:
// while the writer lives it waits and reads again, and after the writer
// has gone it reads once more, so nothing written before its end is missed.
#pragma once

#include "model/LogReader.h"

#include <functional>
#include <string>

class CLogFollower {
public:
  struct SHooks {
    std::function<bool()> writerAlive; // asked only when following
    std::function<void()> idle;        // caught up with the file
    std::function<void()> pause;       // wait before looking again
  };

  CLogFollower(CLogReader& reader, CLogReader::FRecord record)
      : m_reader(reader), m_record(std::move(record)) {}

  // False, with a message, when the log cannot be read, or when following
  // something other than a regular file. A log that does not exist yet is
  // waited for while its writer lives.
  bool Read(const std::string& path, bool follow, const SHooks& hooks, std::string& error);

private:
  CLogReader& m_reader;
  CLogReader::FRecord m_record;
};
