// Stands in for DiVov.exe on Windows, where a test cannot put a script on
// the search path: appends its arguments, one a line, and "---" to the file
// "starts" beside its own executable.
#include <windows.h>

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
  char self[MAX_PATH];
  const DWORD n = ::GetModuleFileNameA(nullptr, self, MAX_PATH);
  std::string path(self, n);
  path = path.substr(0, path.find_last_of("\\/") + 1) + "starts";
  std::FILE* out = std::fopen(path.c_str(), "ab");
  if (!out)
    return 1;
  for (int i = 1; i < argc; ++i)
    std::fprintf(out, "%s\n", argv[i]);
  std::fputs("---\n", out);
  return std::fclose(out) == 0 ? 0 : 1;
}
