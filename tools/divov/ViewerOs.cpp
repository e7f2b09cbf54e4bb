#include "ViewerOs.h"

#include "probex/platform/NamedEvent.h"

#include <fcntl.h>
#include <langinfo.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <thread>

namespace NViewerOs {

bool IsStdoutTerminal() {
  return ::isatty(STDOUT_FILENO) == 1;
}

std::string OutputEncoding() {
  std::setlocale(LC_CTYPE, "");
  const std::string codeset = ::nl_langinfo(CODESET);
  if (codeset.empty() || codeset == "ANSI_X3.4-1968" || codeset == "ASCII")
    return "UTF-8";
  return codeset;
}

void DetachFromTerminal() {
  const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
  if (null >= 0) {
    for (int fd = 0; fd <= 2; ++fd)
      ::dup2(null, fd);
    if (null > 2)
      ::close(null);
  }
  ::setsid();
}

void Pause(unsigned milliseconds) {
  std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

bool IsWriterAlive(const std::string& markerName) {
  // Opening joins the marker only for a moment: held open, it would keep
  // the name alive after the writer.
  NPxPlatform::CNamedEvent marker;
  const bool alive = marker.Open(markerName.c_str());
  marker.Close();
  return alive;
}

} // namespace NViewerOs
