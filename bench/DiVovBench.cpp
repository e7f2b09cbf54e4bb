// How fast DiVov.exe renders a large log (100 MB unless PX_BENCH_LOG_MB
// says otherwise), beside `iconv -f CP932 -t UTF-8` over the same file as
// the floor: any viewer has at least to convert every byte. The log is
// made in a temporary directory and removed afterwards.
#include "model/LogReader.h"
#include "model/RunModel.h"

#include "probex/base/PxTexts.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

std::string g_logPath;
std::uintmax_t g_logSize = 0;

void Record(std::string& out, const char* kind, const std::string& text) {
  out.append(kind).append("|").append(text).append("\r");
}

// A log shaped like a real run's: classes of cases of checks with Japanese
// texts, some failures, dump lines and step coverage records.
void WriteLog(const std::string& path, std::uintmax_t bytes) {
  std::ofstream out(path, std::ios::binary);
  std::string chunk;
  Record(chunk, "Tit.", "Probex");
  Record(chunk, "Ver.", "1.40(bench)");
  std::uintmax_t written = 0;
  for (int c = 0; written < bytes; ++c) {
    Record(chunk, "Etc.", "Probex  Ver 1.40");
    Record(chunk, "ClCp", "class " + std::to_string(c));
    for (int k = 0; k < 20; ++k) {
      Record(chunk, "CaLn", "/home/dev/src/stack_test.cpp(" + std::to_string(100 + k) + "):");
      Record(chunk, "CaCp", "case " + std::to_string(k));
      for (int t = 0; t < 10; ++t) {
        Record(chunk, "TtEL", "/home/dev/src/stack_test.cpp(" + std::to_string(200 + t) + "):");
        const bool fails = (c + k + t) % 97 == 0;
        Record(chunk, "TtEx",
               std::string("stack.Depth() == ") + std::to_string(t) +
                   (fails ? NPxText::kFalseSuffix : ""));
        Record(chunk, fails ? "TtNg" : "TtOk", fails ? NPxText::kCompareNg : NPxText::kMatched);
        Record(chunk, "PxLn", "?3," + std::to_string(400 + t) + "(1):" + std::to_string(t));
        chunk += "(2\r";
      }
      Record(chunk, "Etc.", " *0000 : 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F ");
      Record(chunk, "CaTm", std::to_string(k) + "ms");
    }
    Record(chunk, "ClRe", "Case     \t20");
    Record(chunk, "ClRe", "Exception\t0");
    Record(chunk, "ClRe", "Failures \t1");
    out << chunk;
    written += chunk.size();
    chunk.clear();
  }
}

// Runs the program with its output thrown away; its exit status.
int Run(std::vector<std::string> argv) {
  std::vector<char*> args;
  for (std::string& arg : argv)
    args.push_back(arg.data());
  args.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  pid_t pid = -1;
  const int rc = ::posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (rc != 0)
    return -1;
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void BM_DiVovTranscript(benchmark::State& state) {
  for (auto _ : state)
    if (Run({PX_DIVOV_PATH, "--color=never", "--encoding=UTF-8", g_logPath}) != 1)
      state.SkipWithError("DiVov.exe failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(g_logSize) * state.iterations());
}

void BM_IconvFloor(benchmark::State& state) {
  for (auto _ : state)
    if (Run({"iconv", "-f", "CP932", "-t", "UTF-8", g_logPath}) != 0)
      state.SkipWithError("iconv failed");
  state.SetBytesProcessed(static_cast<std::int64_t>(g_logSize) * state.iterations());
}

// The reader and the model alone, in this process: what is left of the
// viewer's time once conversion and output are taken away.
void BM_ReaderAndModel(benchmark::State& state) {
  std::ifstream in(g_logPath, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (auto _ : state) {
    CLogReader reader;
    CRunModel model(reader.Issues());
    const auto add = [&model](const SLogRecord& record) { model.Add(record); };
    for (std::size_t at = 0; at < bytes.size(); at += 1 << 20)
      reader.Feed(bytes.data() + at, std::min<std::size_t>(1 << 20, bytes.size() - at), add);
    benchmark::DoNotOptimize(model.Totals());
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(bytes.size()) * state.iterations());
}

BENCHMARK(BM_DiVovTranscript)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_IconvFloor)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);
BENCHMARK(BM_ReaderAndModel)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv) {
  const char* megabytes = std::getenv("PX_BENCH_LOG_MB");
  const char* tmp = std::getenv("TMPDIR");
  std::string dir = std::string(tmp && *tmp ? tmp : "/tmp") + "/divov-bench-XXXXXX";
  if (!::mkdtemp(dir.data())) {
    std::perror("mkdtemp");
    return 2;
  }
  g_logPath = dir + "/bench.qpxlog";
  WriteLog(g_logPath, std::strtoull(megabytes ? megabytes : "100", nullptr, 10) << 20);
  g_logSize = std::filesystem::file_size(g_logPath);
  std::printf("log: %.1f MB\n", static_cast<double>(g_logSize) / (1 << 20));
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  std::filesystem::remove_all(dir);
  return 0;
}
