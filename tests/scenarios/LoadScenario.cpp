// Loads a plug-in built on the library at run time (dlopen, LoadLibraryA),
// optionally sends one message through it, and releases it (dlclose,
// FreeLibrary) before the program ends. Prints "released" once the release
// has returned, and how many logs the temporary directory then holds.
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <filesystem>

namespace {

using Send = void (*)(const char*);

#if defined(_WIN32)
void* Load(const char* path) {
  return reinterpret_cast<void*>(::LoadLibraryA(path));
}
Send FindSend(void* plugin) {
  return reinterpret_cast<Send>(
      reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(plugin), "PxPluginSend")));
}
bool Release(void* plugin) {
  return ::FreeLibrary(static_cast<HMODULE>(plugin)) != FALSE;
}
const char* LoadError() {
  return "LoadLibraryA failed";
}
#else
void* Load(const char* path) {
  return ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
}
Send FindSend(void* plugin) {
  return reinterpret_cast<Send>(::dlsym(plugin, "PxPluginSend"));
}
bool Release(void* plugin) {
  return ::dlclose(plugin) == 0;
}
const char* LoadError() {
  return ::dlerror();
}
#endif

} // namespace

int main(int argc, char** argv) {
  if (argc < 2)
    return 2;
  void* plugin = Load(argv[1]);
  if (!plugin) {
    std::fprintf(stderr, "%s\n", LoadError());
    return 3;
  }
  if (argc > 2) {
    const Send send = FindSend(plugin);
    if (!send)
      return 4;
    send(argv[2]);
  }
  if (!Release(plugin))
    return 5;
  long logs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::getenv("TMPDIR")))
    logs += entry.path().extension() == ".qpxlog";
  std::printf("released, %ld log\n", logs);
  return 0;
}
