// DownloadTask against the real demo server on loopback: real requests, real
// files in a temporary folder. The server's request log shows what was sent.
#include "download/download_task.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "download/http_transport.h"
#include "runtime/codepage.h"

namespace fs = std::filesystem;

// Codes, not bytes, in failure messages.
void PrintTo(DownloadResult result, std::ostream* os) { *os << int(result); }

namespace {

constexpr size_t kSmallSize = 25000;  // three chunks of at most 10240
constexpr size_t kTinySize = 600;

std::string fixtureBytes(size_t size) {
  std::string bytes(size, '\0');
  for (size_t i = 0; i < size; ++i) bytes[i] = char((i * 7 + i / 251) & 0xFF);
  return bytes;
}

std::string envOr(const char* name, const char* fallback) {
  const char* value = std::getenv(name);
  return value && *value ? value : fallback;
}

std::string serverUrl(const std::string& pathAndQuery) {
  return "http://" + envOr("INSTALLER_TEST_SERVER", "127.0.0.1:5001") + pathAndQuery;
}

// The served folder is a host path; the Windows build reaches it through
// Wine's drive Z:.
fs::path siteFolder() {
  std::string site = envOr("INSTALLER_TEST_SITE", "site");
#ifdef _WIN32
  if (!site.empty() && site[0] == '/') {
    for (char& c : site)
      if (c == '/') c = '\\';
    site = "Z:" + site;
  }
#endif
  return fs::u8path(site);
}

Text pathText(const fs::path& path) { return utf8ToText(path.u8string()); }

std::string readFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFile(const fs::path& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
}

// What the progress routine saw, one entry per call.
struct ProgressCall {
  std::string total, received, run;
  intptr_t elapsedMs;
  uintmax_t fileSize;  // size of the local file at the time of the call
};

struct ProgressRecorder {
  std::vector<ProgressCall> calls;
  fs::path localFile;
  DownloadTask* stopTask = nullptr;  // stopped from inside the first call
};
ProgressRecorder g_recorder;

intptr_t INSTALLER_WNDPROC_CC recordProgress(intptr_t totalText, intptr_t receivedText,
                                             intptr_t elapsedMs, intptr_t runText) {
  std::error_code ec;
  const uintmax_t size = fs::file_size(g_recorder.localFile, ec);
  g_recorder.calls.push_back({reinterpret_cast<const char*>(totalText),
                              reinterpret_cast<const char*>(receivedText),
                              reinterpret_cast<const char*>(runText), elapsedMs,
                              ec ? uintmax_t(-1) : size});
  if (g_recorder.stopTask) g_recorder.stopTask->stop();
  return 0;
}

// A tick counter that moves by a fixed step at every reading.
uint32_t g_tick = 0;
uint32_t g_tickStep = 0;
uint32_t steppingTick() {
  const uint32_t now = g_tick;
  g_tick += g_tickStep;
  return now;
}

class DownloadTaskTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const fs::path dir = siteFolder() / "dl";
    fs::create_directories(dir);
    writeFile(dir / "small.bin", fixtureBytes(kSmallSize));
    writeFile(dir / "tiny.bin", fixtureBytes(kTinySize));
    writeFile(dir / "empty.bin", "");
  }

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name)
      if (c == '/') c = '_';
    work_ = fs::temp_directory_path() / ("dl-test-" + name);
    fs::remove_all(work_);
    fs::create_directories(work_);
    g_recorder = ProgressRecorder();
    setTickSourceForTesting(nullptr);
    fetchText("/__control/log/clear");
  }

  void TearDown() override {
    setTickSourceForTesting(nullptr);
    std::error_code ec;
    fs::remove_all(work_, ec);
  }

  DownloadResult run(const std::string& url, const fs::path& local, int64_t resumeStart = 0,
                     bool resume = false) {
    g_recorder.localFile = local;
    message_ = "old message";
    return task_.download(url, pathText(local), recordProgress, resumeStart, resume, message_);
  }

  // A control endpoint's answer, fetched with a task of its own.
  std::string fetchText(const std::string& path) {
    DownloadTask fetcher;
    Text message;
    const fs::path out = work_ / "control.txt";
    fetcher.download(serverUrl(path), pathText(out), nullptr, 0, false, message);
    return readFile(out);
  }

  // The request log lines of the given path (the length probe and the transfer).
  std::vector<std::string> logLines(const std::string& path) {
    std::istringstream log(fetchText("/__control/log"));
    std::vector<std::string> lines;
    for (std::string line; std::getline(log, line);)
      if (line.find(" " + path) != std::string::npos) lines.push_back(line);
    return lines;
  }

  // The transfer's line: the probe sends no "Agent" user agent.
  std::string transferLine(const std::string& path) {
    for (const std::string& line : logLines(path))
      if (line.find("ua=Agent") != std::string::npos) return line;
    return "";
  }

  fs::path work_;
  DownloadTask task_;
  Text message_;
};

TEST_F(DownloadTaskTest, FetchesTheWholeBodyAndReportsEveryChunk) {
  const fs::path local = work_ / "small.bin";
  ASSERT_EQ(run(serverUrl("/dl/small.bin"), local), DownloadResult::Completed);
  EXPECT_EQ(message_, gbk("下载成功"));
  EXPECT_EQ(readFile(local), fixtureBytes(kSmallSize));
  EXPECT_EQ(task_.running, 1);

  ASSERT_FALSE(g_recorder.calls.empty());
  int64_t previous = 0;
  for (const ProgressCall& call : g_recorder.calls) {
    const int64_t received = textToInt64(call.received);
    EXPECT_GT(received, previous);
    EXPECT_LE(received - previous, int64_t(kDownloadChunkSize));
    EXPECT_EQ(call.total, "25000");
    EXPECT_EQ(call.run, call.received);
    EXPECT_GT(call.elapsedMs, 0);
    // Reported only after the chunk is in the file.
    EXPECT_EQ(call.fileSize, uintmax_t(received));
    previous = received;
  }
  EXPECT_EQ(g_recorder.calls.back().received, "25000");
  EXPECT_EQ(liveHttpHandles(), 0);

  // Two GETs: the length probe and the transfer, neither with a range.
  const std::vector<std::string> lines = logLines("/dl/small.bin");
  ASSERT_EQ(lines.size(), 2u);
  for (const std::string& line : lines) {
    EXPECT_EQ(line.rfind("GET ", 0), 0u) << line;
    EXPECT_NE(line.find("range=-"), std::string::npos) << line;
  }
  EXPECT_NE(transferLine("/dl/small.bin"), "");
}

TEST_F(DownloadTaskTest, EmptyBodyEmptiesTheFileWithoutReporting) {
  const fs::path local = work_ / "empty.bin";
  writeFile(local, "old contents");
  EXPECT_EQ(run(serverUrl("/dl/empty.bin"), local), DownloadResult::Completed);
  EXPECT_EQ(message_, gbk("下载成功"));
  EXPECT_TRUE(fs::exists(local));
  EXPECT_EQ(fs::file_size(local), 0u);
  EXPECT_TRUE(g_recorder.calls.empty());
}

TEST_F(DownloadTaskTest, ServerWithoutLengthReportsTotalZero) {
  const fs::path local = work_ / "small.bin";
  EXPECT_EQ(run(serverUrl("/dl/small.bin?nolength=1"), local), DownloadResult::Completed);
  EXPECT_EQ(readFile(local), fixtureBytes(kSmallSize));
  ASSERT_FALSE(g_recorder.calls.empty());
  for (const ProgressCall& call : g_recorder.calls) EXPECT_EQ(call.total, "0");
}

TEST_F(DownloadTaskTest, LocalPathWithChineseFolderName) {
  const fs::path folder = work_ / fs::u8path(u8"下载目录");
  std::error_code ec;
  fs::create_directories(folder, ec);
  // Wine stores names in the host's locale; without a UTF-8 one it has no
  // way to hold this name at all.
  if (ec) GTEST_SKIP() << "this host cannot hold a Chinese file name: " << ec.message();
  const fs::path local = folder / fs::u8path(u8"小文件.bin");
  EXPECT_EQ(run(serverUrl("/dl/tiny.bin"), local), DownloadResult::Completed);
  EXPECT_EQ(readFile(local), fixtureBytes(kTinySize));
}

struct ResumeCase {
  const char* name;
  const char* file;           // below /dl/
  const char* query;
  int64_t resumeStart;
  bool resume;
  int existing;               // bytes already in the local file (-1: no file)
  bool existingIsJunk;        // 'x' bytes rather than the file's own first bytes
  const char* rangeSent;      // the transfer's Range as the server logged it
  size_t keptPrefix;          // bytes of the old file kept in front
  size_t bodyFrom;            // offset of the fixture bytes that follow them
  const char* finalReceived;
  const char* finalRun;
};

// Test names, not bytes, in failure messages.
void PrintTo(const ResumeCase& c, std::ostream* os) { *os << c.name; }

const ResumeCase kResumeCases[] = {
    // resume with start 0 is an ordinary download: truncate, no range.
    {"resume_from_zero_starts_over", "small.bin", "", 0, true, 300, true, "range=-", 0, 0,
     "25000", "25000"},
    {"resume_without_local_file_creates_it", "small.bin", "", 1000, true, -1, true,
     "range=bytes=1000-", 0, 1000, "25000", "24000"},
    // the new bytes go after the file's last byte whatever its length
    {"resume_appends_at_the_end_of_the_file", "small.bin", "", 1000, true, 500, true,
     "range=bytes=1000-", 500, 1000, "25000", "24000"},
    {"no_resume_starts_over_and_counts_from_zero", "small.bin", "", 1000, false, 500, true,
     "range=-", 0, 0, "25000", "24000"},
    {"run_count_below_resume_start_is_negative", "tiny.bin", "", 1000, false, -1, true,
     "range=-", 0, 0, "600", "-400"},
    // a server that ignores the range sends the whole file: it must not be
    // appended to the part already there
    {"range_ignored_starts_the_file_over", "small.bin", "?norange=1", 1000, true, 1000, false,
     "range=bytes=1000-", 0, 0, "25000", "24000"},
};

class DownloadResumeTest : public DownloadTaskTest,
                           public ::testing::WithParamInterface<ResumeCase> {};

TEST_P(DownloadResumeTest, WritesAndCountsAsExpected) {
  const ResumeCase& c = GetParam();
  const std::string path = std::string("/dl/") + c.file;
  const std::string fixture = fixtureBytes(c.file == std::string("tiny.bin") ? kTinySize : kSmallSize);
  const fs::path local = work_ / c.file;
  std::string before;
  if (c.existing >= 0) {
    before = c.existingIsJunk ? std::string(size_t(c.existing), 'x') : fixture.substr(0, size_t(c.existing));
    writeFile(local, before);
  }

  ASSERT_EQ(run(serverUrl(path + c.query), local, c.resumeStart, c.resume),
            DownloadResult::Completed);
  EXPECT_EQ(readFile(local), before.substr(0, c.keptPrefix) + fixture.substr(c.bodyFrom));

  ASSERT_FALSE(g_recorder.calls.empty());
  for (const ProgressCall& call : g_recorder.calls)
    EXPECT_EQ(textToInt64(call.run), textToInt64(call.received) - c.resumeStart);
  EXPECT_EQ(g_recorder.calls.back().received, c.finalReceived);
  EXPECT_EQ(g_recorder.calls.back().run, c.finalRun);

  const std::string line = transferLine(path);
  EXPECT_NE(line.find(c.rangeSent), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Cases, DownloadResumeTest, ::testing::ValuesIn(kResumeCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadTaskTest, StopFromTheProgressRoutinePausesAfterThatChunk) {
  const fs::path local = work_ / "small.bin";
  g_recorder.stopTask = &task_;
  EXPECT_EQ(run(serverUrl("/dl/small.bin"), local), DownloadResult::Paused);
  EXPECT_EQ(message_, gbk("下载已暂停"));
  EXPECT_EQ(task_.running, 0);
  ASSERT_EQ(g_recorder.calls.size(), 1u);
  const uintmax_t received = uintmax_t(textToInt64(g_recorder.calls[0].received));
  EXPECT_EQ(g_recorder.calls[0].fileSize, received);
  // The paused file keeps exactly what was received, ready to be continued.
  EXPECT_EQ(readFile(local), fixtureBytes(kSmallSize).substr(0, size_t(received)));
  EXPECT_EQ(liveHttpHandles(), 0);
}

struct TickCase {
  const char* name;
  uint32_t firstTick;
  uint32_t step;
  const char* agent;
};

// Test names, not bytes, in failure messages.
void PrintTo(const TickCase& c, std::ostream* os) { *os << c.name; }

const TickCase kTickCases[] = {
    // uptime past 2^31 ms reads as negative; the counter wraps during the transfer
    {"counter_wraps_during_transfer", 0xFFFFFE00u, 0x100u, "ua=Agent-512 "},
    // every chunk read in the start millisecond
    {"same_millisecond_reports_ten", 5000u, 0u, "ua=Agent5000 "},
};

class DownloadTickTest : public DownloadTaskTest, public ::testing::WithParamInterface<TickCase> {};

TEST_P(DownloadTickTest, ElapsedTimeIsTheTrueDifference) {
  const TickCase& c = GetParam();
  g_tick = c.firstTick;
  g_tickStep = c.step;
  setTickSourceForTesting(steppingTick);
  ASSERT_EQ(run(serverUrl("/dl/small.bin"), work_ / "small.bin"), DownloadResult::Completed);

  // Readings: the agent text, the start tick, then one per chunk.
  ASSERT_FALSE(g_recorder.calls.empty());
  for (size_t k = 0; k < g_recorder.calls.size(); ++k) {
    const intptr_t expected = c.step == 0 ? 10 : intptr_t(c.step) * intptr_t(k + 1);
    EXPECT_EQ(g_recorder.calls[k].elapsedMs, expected) << "chunk " << k;
  }
  const std::string line = transferLine("/dl/small.bin");
  EXPECT_NE(line.find(c.agent), std::string::npos) << line;
}

INSTANTIATE_TEST_SUITE_P(Cases, DownloadTickTest, ::testing::ValuesIn(kTickCases),
                         [](const auto& info) { return std::string(info.param.name); });

// A full medium: writes fail with "no space left".
#ifdef _WIN32
const char* const kFullDevice = "Z:\\dev\\full";
#else
const char* const kFullDevice = "/dev/full";
#endif

struct FailureCase {
  const char* name;
  const char* url;         // a path on the test server, or a whole URL
  const char* localName;   // below the test folder; "" for the full device
  DownloadResult result;
  const char* message;     // UTF-8
  bool keepsOldFile;       // the file that was there keeps its contents
  size_t partialMax;       // otherwise: at most this many bytes of the body stay
};

// Test names, not bytes, in failure messages.
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

const FailureCase kFailureCases[] = {
    {"host_does_not_resolve", "http://no-such-host.invalid:5001/dl/small.bin", "out.bin",
     DownloadResult::UrlOpenError, u8"不能打开该URL", true, 0},
    {"local_folder_missing", "/dl/small.bin", "missing/out.bin", DownloadResult::LocalFileError,
     u8"不能打开本地文件", false, 0},
    // an error page is not the file: it must not replace what is there
    {"not_found_with_html_body", "/dl/small.bin?status=404", "out.bin",
     DownloadResult::UrlOpenError, u8"不能打开该URL", true, 0},
    {"server_error", "/dl/small.bin?status=500", "out.bin", DownloadResult::UrlOpenError,
     u8"不能打开该URL", true, 0},
    {"missing_file", "/dl/no-such-file.bin", "out.bin", DownloadResult::UrlOpenError,
     u8"不能打开该URL", true, 0},
    // The stall lets the headers arrive first: a reset that overtakes them
    // makes the client drop the unread headers, and the URL fails to open.
    {"reset_mid_body", "/dl/small.bin?stall=300&reset=12000", "out.bin", DownloadResult::ReadError,
     u8"读文件出错", false, 12000},
    // the server closes before the length it announced
    {"short_body", "/dl/small.bin?cut=12000", "out.bin", DownloadResult::ReadError,
     u8"读文件出错", false, 12000},
    {"local_write_fails", "/dl/small.bin", "", DownloadResult::LocalWriteError,
     u8"写入本地文件出错", false, 0},
};

class DownloadFailureTest : public DownloadTaskTest,
                            public ::testing::WithParamInterface<FailureCase> {};

TEST_P(DownloadFailureTest, ReportsTheFailureAndClosesEveryHandle) {
  const FailureCase& c = GetParam();
  const std::string url = std::string(c.url).rfind("http", 0) == 0 ? c.url : serverUrl(c.url);
  const bool toDevice = *c.localName == 0;
  const fs::path local = toDevice ? fs::path(kFullDevice) : work_ / c.localName;
  const std::string oldContents = "the library that works";
  if (!toDevice && fs::exists(local.parent_path())) writeFile(local, oldContents);

  EXPECT_EQ(run(url, local), c.result);
  EXPECT_EQ(message_, gbk(c.message));
  EXPECT_EQ(liveHttpHandles(), 0);
  if (toDevice) return;

  if (c.keepsOldFile) {
    EXPECT_EQ(readFile(local), oldContents);
  } else if (c.partialMax > 0) {
    // The part received stays on disk, closed, for a later continuation.
    const std::string partial = readFile(local);
    EXPECT_LE(partial.size(), c.partialMax);
    EXPECT_EQ(partial, fixtureBytes(kSmallSize).substr(0, partial.size()));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, DownloadFailureTest, ::testing::ValuesIn(kFailureCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(DownloadTaskTest, ContinuingPastTheEndKeepsTheFile) {
  // The server cannot serve a range beyond the file (416): the part already
  // there stays as it is.
  const fs::path local = work_ / "tiny.bin";
  writeFile(local, fixtureBytes(kTinySize));
  EXPECT_EQ(run(serverUrl("/dl/tiny.bin"), local, 5000, true), DownloadResult::UrlOpenError);
  EXPECT_EQ(readFile(local), fixtureBytes(kTinySize));
  EXPECT_EQ(liveHttpHandles(), 0);
}

}  // namespace
