// DiVov.exe: the viewer of Probex test logs.
#include "app/ViewerApp.h"
#include "app/ViewerOs.h"

#include <iostream>

int main(int argc, char** argv) {
  std::ios::sync_with_stdio(false);
  NViewerOs::PrepareStandardOutput();
  const std::vector<std::string> args(argv + 1, argv + argc);
  CViewerApp app(std::cout, std::cerr);
  return app.Run(PxParseViewerOptions(args));
}
