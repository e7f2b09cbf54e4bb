// Holds a named object of the platform layer for the platform tests.
//   event NAME   create the event, print the result, then wait to be killed
//   wait NAME    open the event, print "ready", wait once, print "released"
//   memory NAME  open a 16-byte block, print the result and its bytes,
//                write "child" at byte 8 and close
#include "probex/platform/NamedEvent.h"
#include "probex/platform/NamedSharedMemory.h"

#include <unistd.h>

#include <cstdio>
#include <cstring>

int main(int argc, char** argv) {
  if (argc != 3)
    return 2;
  const char* mode = argv[1];
  const char* name = argv[2];
  if (std::strcmp(mode, "event") == 0) {
    NPxPlatform::CNamedEvent event;
    std::printf("%d\n", event.Create(name));
    std::fflush(stdout);
    for (;;)
      ::pause();
  }
  if (std::strcmp(mode, "wait") == 0) {
    NPxPlatform::CNamedEvent event;
    if (!event.Open(name))
      return 3;
    std::printf("ready\n");
    std::fflush(stdout);
    std::printf(event.Wait() ? "released\n" : "failed\n");
    return 0;
  }
  if (std::strcmp(mode, "memory") == 0) {
    NPxPlatform::CNamedSharedMemory memory;
    const int result = memory.Open(name, 16);
    if (result < 0)
      return 3;
    const auto* bytes = static_cast<const unsigned char*>(memory.View());
    std::printf("%d", result);
    for (int i = 0; i < 16; ++i)
      std::printf(" %02x", bytes[i]);
    std::printf("\n");
    std::memcpy(static_cast<char*>(memory.View()) + 8, "child", 5);
    return 0;
  }
  return 2;
}
