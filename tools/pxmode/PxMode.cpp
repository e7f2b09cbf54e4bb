// pxmode: the controlling tool of the coverage mode. It writes the mode word
// of the per-user mode block and runs a program while it holds the block, so
// that the program, and every process that reads the mode meanwhile, takes
// that mode. The word it replaced comes back when the program ends.
#include "probex/base/PxApi.h"
#include "probex/base/PxModeBlock.h"
#include "probex/platform/Process.h"
#include "probex/platform/SharedBlock.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int kUsageError = 2;
// As env and timeout answer when the wrapper itself fails.
constexpr int kToolFailure = 125;

const char kHelp[] = "Usage: pxmode MODE [--] PROGRAM [ARGUMENT]...\n"
                     "  or:  pxmode --show\n"
                     "Set the Probex coverage mode word and run PROGRAM with it. The word holds\n"
                     "for every process of this user that reads it while PROGRAM runs; the word\n"
                     "it replaced is put back when PROGRAM ends.\n"
                     "\n"
                     "MODE is one of:\n"
                     "  -c, --count      count line passages; the counts are logged at unload\n"
                     "  -s, --step       step log: every passage and function is logged at once\n"
                     "  -n, --none       not set: the program's own default applies\n"
                     "  -w, --word=N     write N (decimal, or hex after 0x) as the mode word\n"
                     "\n"
                     "      --show       print the current mode word and its meaning, and exit\n"
                     "  -h, --help       display this help and exit\n"
                     "  -V, --version    output version information and exit\n"
                     "\n"
                     "Exit status is PROGRAM's own, or 128+N when signal N ended it; 126 when\n"
                     "PROGRAM cannot be run, 127 when it cannot be found, 125 when the mode\n"
                     "block cannot be made, and 2 for a usage error.\n";

int UsageError(const std::string& what) {
  std::fprintf(stderr, "pxmode: %s\nTry 'pxmode --help' for more information.\n", what.c_str());
  return kUsageError;
}

const char* Meaning(std::int32_t word) {
  if (word == PX_MODE_NOT_SET)
    return "not set";
  return word == PX_MODE_COUNT ? "count" : "step log";
}

// Decimal, or hexadecimal after 0x; a leading zero is no octal here.
bool ParseWord(const char* text, std::int32_t& word) {
  const char* digits = text + (*text == '-' || *text == '+');
  const bool hex = digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X');
  char* end = nullptr;
  errno = 0;
  const long long value = std::strtoll(text, &end, hex ? 16 : 10);
  if (!*text || *end || errno != 0 || value < INT32_MIN || value > INT32_MAX)
    return false;
  word = static_cast<std::int32_t>(value);
  return true;
}

int Show() {
  CSharedBlock block;
  if (!block.Attach(kPxModeBlockName)) {
    std::fprintf(stderr, "pxmode: cannot make or map the mode block\n");
    return kToolFailure;
  }
  const std::int32_t word = block.ReadRecordWord(kPxModeWordIndex);
  std::printf("%d %s\n", static_cast<int>(word), Meaning(word));
  return 0;
}

int Run(std::int32_t word, const std::vector<std::string>& program) {
  CSharedBlock block;
  if (!block.Attach(kPxModeBlockName)) {
    std::fprintf(stderr, "pxmode: cannot make or map the mode block\n");
    return kToolFailure;
  }
  block.Lock();
  const std::int32_t previous = block.ReadRecordWord(kPxModeWordIndex);
  block.WriteRecordWord(kPxModeWordIndex, word);
  block.Unlock();
  std::fflush(nullptr);

  bool started = false;
  const int status = NPxPlatform::RunProgram(program, started);
  if (!started)
    std::fprintf(stderr, "pxmode: %s: %s\n", program[0].c_str(),
                 status == 127 ? "cannot be found" : "cannot be run");

  // A nested pxmode that changed the word meanwhile has put its own back.
  block.Lock();
  if (block.ReadRecordWord(kPxModeWordIndex) == word)
    block.WriteRecordWord(kPxModeWordIndex, previous);
  block.Unlock();
  return status;
}

} // namespace

int main(int argc, char** argv) {
  bool haveWord = false;
  bool show = false;
  std::int32_t word = PX_MODE_NOT_SET;
  int arg = 1;
  for (; arg < argc; ++arg) {
    const std::string option = argv[arg];
    std::int32_t chosen = 0;
    if (option == "--") {
      ++arg;
      break;
    }
    if (option.empty() || option[0] != '-')
      break;
    if (option == "-h" || option == "--help") {
      std::fputs(kHelp, stdout);
      return 0;
    }
    if (option == "-V" || option == "--version") {
      std::printf("pxmode (%s) %s\n", PX_PRODUCT_NAME, PX_VERSION_TEXT);
      return 0;
    }
    if (option == "--show") {
      show = true;
      continue;
    }
    if (option == "-c" || option == "--count") {
      chosen = PX_MODE_COUNT;
    } else if (option == "-s" || option == "--step") {
      chosen = PX_MODE_STEP_LOG;
    } else if (option == "-n" || option == "--none") {
      chosen = PX_MODE_NOT_SET;
    } else if (option == "-w" || option == "--word" || option.rfind("--word=", 0) == 0) {
      const bool joined = option.size() > 6 && option[6] == '=';
      if (!joined && ++arg >= argc)
        return UsageError("option '" + option + "' requires an argument");
      const char* value = joined ? option.c_str() + 7 : argv[arg];
      if (!ParseWord(value, chosen))
        return UsageError(std::string("invalid mode word '") + value + "'");
    } else {
      return UsageError("unrecognized option '" + option + "'");
    }
    if (haveWord)
      return UsageError("choose one mode: --count, --step, --none or --word");
    haveWord = true;
    word = chosen;
  }

  const std::vector<std::string> program(argv + arg, argv + argc);
  if (show) {
    if (haveWord || !program.empty())
      return UsageError("--show takes no mode and no program");
    return Show();
  }
  if (!haveWord)
    return UsageError("missing mode: --count, --step, --none or --word");
  if (program.empty())
    return UsageError("missing program to run");
  return Run(word, program);
}
