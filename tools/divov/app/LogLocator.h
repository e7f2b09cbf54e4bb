// Where a log lies and how its writer marks it: the log of a viewer
// argument name, the marker name of a log, the newest log of a program.
#pragma once

#include <string>

namespace NLogLocator {

// The file title of the name in the directory for temporary files, cut to
// a length file systems take exactly as the writer cuts it.
std::string LogPathFromViewerName(const std::string& viewerName);
// The path as its writer spelt it: a log in the directory for temporary
// files, however it was named (relative, through a link), is that
// directory's path and the file's title; any other path stays as it is.
std::string WriterSpelling(const std::string& logPath);
// The newest log of the program (a path or a bare name) in the directory
// for temporary files, among this user's own regular files; empty when
// there is none. A name without ".exe" also takes NAME.exe's logs.
std::string LatestLog(const std::string& program);

} // namespace NLogLocator
