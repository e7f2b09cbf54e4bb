// Loads a plug-in built on the library with dlopen, optionally sends one
// message through it, and releases it with dlclose before the program ends.
// Prints "released" once dlclose has returned, and how many logs the
// temporary directory then holds.
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

int main(int argc, char** argv) {
  if (argc < 2)
    return 2;
  void* plugin = ::dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
  if (!plugin) {
    std::fprintf(stderr, "%s\n", ::dlerror());
    return 3;
  }
  if (argc > 2) {
    using Send = void (*)(const char*);
    Send send = reinterpret_cast<Send>(::dlsym(plugin, "PxPluginSend"));
    if (!send)
      return 4;
    send(argv[2]);
  }
  if (::dlclose(plugin) != 0)
    return 5;
  long logs = 0;
  for (const auto& entry : std::filesystem::directory_iterator(std::getenv("TMPDIR")))
    logs += entry.path().extension() == ".qpxlog";
  std::printf("released, %ld log\n", logs);
  return 0;
}
