// Loads a plug-in built on the library at run time (dlopen, LoadLibraryA),
// optionally sends one message through it (or, given --check, runs its
// check), and releases it (dlclose, FreeLibrary) before the program ends.
// Prints "released" once the release has returned and the plug-in is gone
// from the process, and how many logs in the temporary directory then hold
// records (a log's file is made, empty, at its first record).
#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace {

using Send = void (*)(const char*);
using Check = void (*)();

#if defined(_WIN32)
void* Load(const char* path) {
  return reinterpret_cast<void*>(::LoadLibraryA(path));
}
template <typename TFunction> TFunction Find(void* plugin, const char* name) {
  return reinterpret_cast<TFunction>(
      reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(plugin), name)));
}
bool Release(void* plugin) {
  return ::FreeLibrary(static_cast<HMODULE>(plugin)) != FALSE;
}
bool StillLoaded(const char* path) {
  return ::GetModuleHandleA(path) != nullptr;
}
const char* LoadError() {
  return "LoadLibraryA failed";
}
#else
void* Load(const char* path) {
  return ::dlopen(path, RTLD_NOW | RTLD_LOCAL);
}
template <typename TFunction> TFunction Find(void* plugin, const char* name) {
  return reinterpret_cast<TFunction>(::dlsym(plugin, name));
}
bool Release(void* plugin) {
  return ::dlclose(plugin) == 0;
}
bool StillLoaded(const char* path) {
  void* again = ::dlopen(path, RTLD_NOW | RTLD_NOLOAD);
  if (again)
    ::dlclose(again);
  return again != nullptr;
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
  if (argc > 2 && std::strcmp(argv[2], "--check") == 0) {
    const Check check = Find<Check>(plugin, "PxPluginCheck");
    if (!check)
      return 4;
    check();
  } else if (argc > 2) {
    const Send send = Find<Send>(plugin, "PxPluginSend");
    if (!send)
      return 4;
    send(argv[2]);
  }
  if (!Release(plugin))
    return 5;
  if (StillLoaded(argv[1])) {
    std::printf("still loaded after its release\n");
    return 6;
  }
  long logs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::getenv("TMPDIR")))
    logs += entry.path().extension() == ".qpxlog" && entry.file_size() > 0;
  std::printf("released, %ld log\n", logs);
  return 0;
}
