// Holds a named object of the platform layer for the platform tests.
//   event NAME   create the event, print the result, then wait to be killed
//   wait NAME    open the event, print "ready", wait once, print "released"
//   memory NAME  open a 16-byte block, print the result and its bytes,
//                write "child" at byte 8 and close
#include "probex/platform/NamedEvent.h"
#include "probex/platform/NamedSharedMemory.h"

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

int main(int argc, char** argv) {
  const std::string mode = argc == 3 ? argv[1] : "";
  std::setvbuf(stdout, nullptr, _IONBF, 0); // each line reaches the test as it is printed
  NPxPlatform::CNamedEvent event;
  if (mode == "event") {
    std::printf("%d\n", event.Create(argv[2]));
    for (;;)
      std::this_thread::sleep_for(std::chrono::hours(1));
  }
  if (mode == "wait" && event.Open(argv[2])) {
    std::printf("ready\n");
    std::printf(event.Wait() ? "released\n" : "failed\n");
    return 0;
  }
  NPxPlatform::CNamedSharedMemory memory;
  const int result = mode == "memory" ? memory.Open(argv[2], 16) : -1;
  if (result < 0)
    return 2;
  auto* bytes = static_cast<unsigned char*>(memory.View());
  std::printf("%d", result);
  for (int i = 0; i < 16; ++i)
    std::printf(" %02x", bytes[i]);
  std::printf("\n");
  std::memcpy(bytes + 8, "child", 5);
}
