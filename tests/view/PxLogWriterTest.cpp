// The log writer in this process: record format, line continuation, the
// 8000-byte batching, naming, many threads writing at once, and its lock
// across a fork.
#include "probex/view/PxLogWriter.h"
#include "common/PxChildProcess.h"
#include "common/PxTestFiles.h"
#include "common/PxViewerStandIn.h"
#include "probex/base/PxRecordCodec.h"

#include <gtest/gtest.h>

#if defined(_WIN32)
#include "probex/base/PxTexts.h"
#include "probex/platform/Process.h"
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <thread>

namespace {

// Their bytes are checked on a real program's log; here they only lead.
const std::string kHeader = NPxLogFormat::HeaderRecords();

std::string WithoutHeader(const std::string& log) {
  EXPECT_EQ(log.compare(0, kHeader.size(), kHeader), 0) << log.substr(0, 40);
  return log.substr(std::min(kHeader.size(), log.size()));
}

class LogWriter : public ::testing::Test {
protected:
  void SetUp() override { PxSetEnv("PATH", m_viewer.Path()); }
  std::string Log() { return PxReadFile(m_writer.GetLogPath()); }
  CPxViewerStandIn m_viewer;
  CPxLogWriter m_writer;
};

TEST_F(LogWriter, RecordsAreKindBarTextCarriageReturnAndLineRecordsContinueTheirLine) {
  const std::string longLine = "?1," + std::string(300, '9') + "(1";
  const std::pair<const char*, EPxMsgType> records[] = {
      {"banner", PX_MSG_ETC},
      {"", PX_MSG_ETC},
      {nullptr, PX_MSG_ETC},
      {"matched", PX_MSG_TEST_OK}, // a verdict that passed keeps no text
      {"line\nfeed", PX_MSG_TEST_NG},
      {"odd", static_cast<EPxMsgType>(0x41420043u)},
      {"none", static_cast<EPxMsgType>(0x00414243u)},
      {"?3,120(1):2F", PX_MSG_COVERAGE_LINE},
      {"?3,120(2", PX_MSG_COVERAGE_LINE},
      {"between", PX_MSG_ETC},
      {"?3,120(2", PX_MSG_COVERAGE_LINE},
      {"?3,120(3", PX_MSG_COVERAGE_LINE},
      {"?3,121(1", PX_MSG_COVERAGE_LINE},
      {"?3,12(1", PX_MSG_COVERAGE_LINE}, // a shorter number with the same start
      {"(plain", PX_MSG_COVERAGE_LINE},  // no "(" after the first character
      {"plain", PX_MSG_COVERAGE_LINE},
      {longLine.c_str(), PX_MSG_COVERAGE_LINE}, // overlong: written whole each time
      {longLine.c_str(), PX_MSG_COVERAGE_LINE}};
  for (const auto& [text, kind] : records)
    m_writer.WriteRecord(text, kind);
  EXPECT_TRUE(Log().empty());
  m_writer.Close();
  PxExpectApproved("view/approved/records.qpxlog", WithoutHeader(Log()));
}

// A side record never opens a log of its own; once a record has, side
// records go in their place among the others, long ones in pieces too.
TEST_F(LogWriter, SideRecordsGoOnlyIntoALogThatARecordOpened) {
  m_writer.WriteSideRecord("alone", NPxSideKind::kCaseName);
  m_writer.Close();
  EXPECT_EQ(m_writer.GetLogPath(), "");
  const std::string longValue(9000, 'v');
  m_writer.WriteRecord("first", PX_MSG_TEST_NG);
  m_writer.WriteSideRecord(longValue.c_str(), NPxSideKind::kValues);
  m_writer.WriteSideRecord("", NPxSideKind::kValues);
  m_writer.WriteSideRecord(nullptr, NPxSideKind::kValues);
  m_writer.WriteRecord("next", PX_MSG_ETC);
  m_writer.Close();
  EXPECT_EQ(WithoutHeader(Log()), "TtNg|first\rTtVl|" + longValue + "\rEtc.|next\r");
}

// A longer text than the buffer holds flushes what is buffered, then goes
// in pieces of 7999.
TEST_F(LogWriter, BufferReachesTheFileOnlyWhenTheNextRecordWouldOverflowAndLongTextsInPieces) {
  const std::string text(990, 'x');
  size_t written = 0;
  int records = 0;
  while (Log().empty()) {
    m_writer.WriteRecord(text.c_str(), PX_MSG_ETC);
    ++records;
    written = kHeader.size() + static_cast<size_t>(records) * (text.size() + 6);
    ASSERT_LT(records, 20);
  }
  EXPECT_EQ(records, 8);
  // The eighth record's text did not fit behind the first seven records and
  // its own kind: those went to the file, the text and its end stayed.
  EXPECT_EQ(Log().size(), written - (text.size() + 1));
  std::string longText;
  for (int i = 0; i < 20000; ++i)
    longText += static_cast<char>('a' + i % 26);
  m_writer.WriteRecord(longText.c_str(), PX_MSG_ETC);
  EXPECT_EQ(Log().substr(std::min(written, Log().size())), "Etc.|" + longText.substr(0, 2 * 7999));
  m_writer.Close();
  m_writer.Close();
  EXPECT_EQ(Log().substr(std::min(written, Log().size())), "Etc.|" + longText + "\r");
}

// A piece that ends exactly at the buffer's last byte still fits: only the
// record's end then flushes the full buffer. One byte more flushes before it.
TEST_F(LogWriter, APieceEndingAtTheBuffersLastByteFitsAndOneByteMoreFlushesFirst) {
  const size_t room = CPxLogWriter::kBufferSize - kHeader.size() - 5; // "Etc.|"
  const struct {
    size_t body, fileBefore; // the file's size once the record is written
  } rows[] = {{room - 1, 0}, {room, CPxLogWriter::kBufferSize}, {room + 1, kHeader.size() + 5}};
  for (const auto& [body, fileBefore] : rows) {
    SCOPED_TRACE(body);
    CPxLogWriter writer; // the first record is appended piece by piece
    const std::string text(body, 'b');
    writer.WriteRecord(text.c_str(), PX_MSG_ETC);
    EXPECT_EQ(PxReadFile(writer.GetLogPath()).size(), fileBefore);
    writer.Close();
    EXPECT_EQ(PxReadFile(writer.GetLogPath()), kHeader + "Etc.|" + text + "\r");
  }
}

// A "PxLn" text continues the line before it up to 259 characters; from 260
// on it is written whole, its repetition too.
TEST_F(LogWriter, LineRecordsContinueUpTo259CharactersAndFrom260AreWrittenWhole) {
  std::string expected;
  for (size_t length = 257; length <= 262; ++length) {
    SCOPED_TRACE(length);
    const std::string start = "?" + std::to_string(length) + ",";
    const std::string line = start + std::string(length - start.size() - 2, '7');
    m_writer.WriteRecord((line + "(1").c_str(), PX_MSG_COVERAGE_LINE);
    m_writer.WriteRecord((line + "(2").c_str(), PX_MSG_COVERAGE_LINE);
    expected += "PxLn|" + line + "(1\r" + (length < 260 ? "" : "PxLn|" + line) + "(2\r";
  }
  m_writer.Close();
  EXPECT_EQ(WithoutHeader(Log()), expected);
}

#if defined(_WIN32)
std::vector<std::string> g_boxes; // what the stand-in box was asked to show

// A missing viewer is told in a modal box unless PROBEX_NOTICE=stderr sends
// the notice to standard error; the stand-in box takes what it would show.
TEST_F(LogWriter, MissingViewerIsToldInABoxUnlessTheNoticeGoesToStandardError) {
  NPxPlatform::SetNoticeBox([](const char* caption, const char* text) {
    g_boxes.push_back(std::string(caption) + ": " + text);
  });
  PxSetEnv("PATH", PxMakeTempDir("empty-path"));
  for (const char* route : {"stderr", "", "stderr"}) {
    PxSetEnv("PROBEX_NOTICE", route);
    CPxLogWriter writer;
    writer.WriteRecord("one", PX_MSG_ETC);
    writer.Close();
  }
  NPxPlatform::SetNoticeBox(nullptr);
  EXPECT_EQ(g_boxes, std::vector<std::string>{std::string(NPxText::kViewerMissingCaption) + ": " +
                                              NPxText::kViewerMissing});
}
#endif

TEST_F(LogWriter, PlantedLinkIsNotFollowed) {
  m_writer.WriteRecord("secret", PX_MSG_ETC);
  const std::string target = std::string(std::getenv("TMPDIR")) + "/target";
  { std::ofstream(target) << "untouched"; }
  std::filesystem::remove(m_writer.GetLogPath()); // made at naming, so nobody plants one
  std::error_code error;
  std::filesystem::create_symlink(target, m_writer.GetLogPath(), error);
  if (error) // Wine, and Windows without the right to make links
    GTEST_SKIP() << "no symbolic link can be made here: " << error.message();
  m_writer.Close();
  EXPECT_EQ(PxReadFile(target), "untouched");
  std::filesystem::remove(m_writer.GetLogPath());
  // The refused buffer is gone, header records included.
  m_writer.WriteRecord("later", PX_MSG_ETC);
  m_writer.Close();
  EXPECT_EQ(Log(), "Etc.|later\r");
}

TEST_F(LogWriter, ManyThreadsLeaveEveryRecordWholeAndNoneLost) {
  constexpr int kThreads = 8, kRecords = 2000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([this, t] {
      for (int i = 0; i < kRecords; ++i) {
        const std::string text = "t" + std::to_string(t) + "-" + std::to_string(i) + "-" +
                                 std::string(static_cast<size_t>(i % 50), 'p');
        m_writer.WriteRecord(text.c_str(), PX_MSG_ETC);
      }
    });
  for (std::thread& thread : threads)
    thread.join();
  m_writer.Close();
  const std::string log = WithoutHeader(Log());
  const std::vector<std::string> records = PxRecords(log);
  std::vector<int> next(kThreads, 0);
  const std::regex shape("Etc\\.\\|t(\\d)-(\\d+)-(p*)");
  for (const std::string& record : records) {
    std::smatch m;
    ASSERT_TRUE(std::regex_match(record, m, shape)) << record;
    const int t = std::stoi(m[1]), i = std::stoi(m[2]);
    EXPECT_EQ(i, next[static_cast<size_t>(t)]++);
    EXPECT_EQ(m[3].length(), i % 50);
  }
  EXPECT_EQ(records.size(), static_cast<size_t>(kThreads * kRecords));
  EXPECT_EQ(log.rfind('\r') + 1, log.size()); // nothing after the last record
}

#if !defined(_WIN32)
// A thread of the parent holds the lock when the process forks: the child
// has no such thread, and opens the lock itself.
TEST(LogLock, AForkedChildOpensTheLockThatAThreadOfTheParentHeld) {
  CPxLogLock lock;
  std::atomic<bool> held{false}, release{false};
  std::thread holder([&] {
    lock.lock();
    held = true;
    while (!release)
      std::this_thread::yield();
    lock.unlock();
  });
  while (!held)
    std::this_thread::yield();
  const pid_t child = ::fork();
  if (child == 0) {
    const bool heldInChild = !lock.try_lock();
    lock.OpenInForkedChild();
    ::_exit(heldInChild && lock.try_lock() ? 0 : 1);
  }
  release = true;
  holder.join();
  int status = -1;
  ASSERT_EQ(::waitpid(child, &status, 0), child);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
  EXPECT_TRUE(lock.try_lock());
}
#endif

} // namespace
