// The single-instance guard between real processes: copies of guard_probe
// (built beside this test) run the guard under a name and report what they
// saw; the demo server's request log shows which copies went on.
#include "app/single_instance.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "runtime/http_read.h"
#include "runtime/module_path.h"
#include "tests/support/test_env.h"

namespace {

std::string testServer() { return testServerHost() + ":5001"; }

std::wstring besideThisProgram(const wchar_t* file) {
  wchar_t path[MAX_PATH];
  DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring p(path, n);
  return p.substr(0, p.find_last_of(L'\\') + 1) + file;
}

std::string tempFile(const std::string& tag) {
  char dir[MAX_PATH];
  GetTempPathA(MAX_PATH, dir);
  std::string path = std::string(dir) + "guard_" + tag + "_" + std::to_string(GetCurrentProcessId()) + ".txt";
  DeleteFileA(path.c_str());
  return path;
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// One running guard_probe.
class Probe {
 public:
  Probe(const std::string& name, const std::string& tag, bool window = false)
      : out_(tempFile(tag)) {
    std::wstring cmd = L"\"" + besideThisProgram(L"guard_probe.exe") + L"\" ";
    const std::string args = "\"" + name + "\" " + tag + " " + testServer() + " \"" + out_ + "\"" +
                             (window ? " window" : "");
    cmd += std::wstring(args.begin(), args.end());
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    if (CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi_))
      CloseHandle(pi_.hThread);
    else
      pi_.hProcess = nullptr;
  }
  ~Probe() {
    if (pi_.hProcess) {
      TerminateProcess(pi_.hProcess, 9);
      WaitForSingleObject(pi_.hProcess, 5000);
      CloseHandle(pi_.hProcess);
    }
    DeleteFileA(out_.c_str());
  }
  bool started() const { return pi_.hProcess != nullptr; }
  DWORD pid() const { return pi_.dwProcessId; }
  std::string output() const { return readFile(out_); }

  // True once the copy said "ready" (the guard let it run).
  bool waitReady() const {
    for (int i = 0; i < 300; ++i) {
      if (output().find("ready") != std::string::npos) return true;
      if (WaitForSingleObject(pi_.hProcess, 0) == WAIT_OBJECT_0) return false;
      Sleep(20);
    }
    return false;
  }
  // The exit code once the copy ended by itself, or -1.
  long waitExit() const {
    if (WaitForSingleObject(pi_.hProcess, 15000) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    GetExitCodeProcess(pi_.hProcess, &code);
    return long(code);
  }

 private:
  std::string out_;
  PROCESS_INFORMATION pi_ = {};
};

const char kMessageLine[] = "message 友情提醒:|请勿重复运行本程序，如程序未响应请尝试重启电脑！|48";

std::string unique(const std::string& base) {
  return base + std::to_string(GetCurrentProcessId()) + "x" + std::to_string(GetTickCount());
}

}  // namespace

TEST(SingleInstance, SecondCopyShowsTheMessageExitsWithZeroAndSendsNoRequest) {
  const std::string name = unique("product");
  const std::string first = unique("first"), second = unique("second");
  Probe a(name, first);
  ASSERT_TRUE(a.started());
  ASSERT_TRUE(a.waitReady()) << a.output();
  Probe b(name, second);
  ASSERT_TRUE(b.started());
  EXPECT_EQ(b.waitExit(), 0);
  const std::string said = b.output();
  EXPECT_EQ(said.find(kMessageLine), 0u) << said;
  EXPECT_EQ(said.find("running"), std::string::npos) << said;
  const std::string log = serverLog();
  EXPECT_NE(log.find("copy=" + first), std::string::npos) << log;
  EXPECT_EQ(log.find("copy=" + second), std::string::npos) << log;
}

TEST(SingleInstance, MinimisedRunningCopyIsRestoredAfterTheMessage) {
  const std::string name = unique("restore");
  const std::string first = unique("first");
  Probe a(name, first, /*window=*/true);
  ASSERT_TRUE(a.waitReady()) << a.output();
  const std::wstring title(first.begin(), first.end());
  HWND w = FindWindowW(L"GuardProbeWindow", title.c_str());
  ASSERT_TRUE(w != nullptr);
  ASSERT_TRUE(IsIconic(w));
  Probe b(name, unique("second"));
  EXPECT_EQ(b.waitExit(), 0);
  // The message came while the window was still minimised; then it was restored.
  EXPECT_NE(b.output().find("other-iconic"), std::string::npos) << b.output();
  EXPECT_FALSE(IsIconic(w));
}

TEST(SingleInstance, DifferentNamesRunSideBySide) {
  Probe a(unique("one"), unique("a")), b(unique("two"), unique("b"));
  EXPECT_TRUE(a.waitReady()) << a.output();
  EXPECT_TRUE(b.waitReady()) << b.output();
}

TEST(SingleInstance, CopyStartedAfterTheFirstEndedRuns) {
  const std::string name = unique("again");
  {
    Probe a(name, unique("a"));
    ASSERT_TRUE(a.waitReady());
  }  // ended here
  Probe c(name, unique("c"));
  EXPECT_TRUE(c.waitReady()) << c.output();
}

TEST(SingleInstance, EmptyNameUsesTheDigestOfTheFixedText) {
  // MD5 of the 26 GBK bytes of the fixed text, computed outside the program.
  const Text expected = "917b41c1b5ace220c8b4dcacd5857727";
  EXPECT_EQ(gbk("你懒得输入，我就写死，略略").size(), 26u);
  EXPECT_EQ(defaultInstanceName(), expected);

  Probe a("-", unique("a"));
  ASSERT_TRUE(a.waitReady()) << a.output();
  HANDLE e = OpenEventA(0x1F0003, FALSE, expected.c_str());
  EXPECT_NE(e, nullptr) << "the first copy's event carries the digest as its name";
  if (e) CloseHandle(e);
  Probe b("-", unique("b"));
  EXPECT_EQ(b.waitExit(), 0);
  EXPECT_EQ(b.output().find(kMessageLine), 0u) << b.output();
}

TEST(Md5Hex, KnownDigests) {
  const struct {
    std::string data;
    Text hex;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"The quick brown fox jumps over the lazy dog", "9e107d9d372bb6826bd81d3542a419d6"},
      {std::string(1000, 'a'), "cabe45dcc9ae5b66ba86600cca6b8ba8"},
  };
  for (const auto& c : cases) EXPECT_EQ(md5Hex(Bytes(c.data.begin(), c.data.end())), c.hex);
}

TEST(ProcessSearch, FindsOtherCopiesByNameIgnoringCaseButNeverItself) {
  Probe a(unique("search"), unique("a"));
  ASSERT_TRUE(a.waitReady());
  EXPECT_EQ(findProcessByExeName("guard_probe.exe"), a.pid());
  EXPECT_EQ(findProcessByExeName("GUARD_PROBE.EXE"), a.pid());
  EXPECT_EQ(findProcessByExeName("guard_probe"), 0u);
  EXPECT_EQ(findProcessByExeName(moduleFileName()), 0u) << moduleFileName();
}
