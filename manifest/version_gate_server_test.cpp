// The version gate against the local demo server: each manifest variant is
// served through the server's control endpoint, the message boxes and the
// shell call are observed through the run time's hooks, and the exits run in
// death-test children.
#include "manifest/version_gate.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/install_state.h"
#include "manifest/server_host.h"
#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "runtime/http_read.h"
#include "runtime/shell_folders.h"
#include "tests/support/test_env.h"
#include "ui/main_window.h"

namespace {

Text testHost() { return testServerHost(); }

// Serves utf8 as the description file.
void serveManifest(const std::string& utf8) { setServerRule("/vrk/azq.txt", "body=" + utf8); }

std::string manifestWithVersion(const std::string& version) {
  return "# 岚鲸安装器\r\n"
         "安装器版本号=（" + version + "）\r\n"
         "更新提示=（发现新版本，请下载最新安装器）\r\n"
         "岚鲸自销更新跳转=（http://example.org/lj.html）\r\n"
         "PP自销更新跳转=（http://example.org/pp.html）\r\n";
}

// What the user and the shell saw, in order, as UTF-8.
std::string g_trace;
std::string g_expected;

int recordBox(void*, const Text& text, const Text& caption, unsigned style) {
  g_trace += "box[" + textToUtf8(caption) + "|" + textToUtf8(text) + "|" + std::to_string(style) + "]";
  return kIdOk;
}

intptr_t recordShell(const Text& verb, const Text& file, int show) {
  g_trace += "shell[" + verb + "|" + textToUtf8(file) + "|" + std::to_string(show) + "]";
  return 42;
}

// Runs in the death-test child as the process ends: the product fields show
// whether the product was looked up before the exit.
void reportAtExit(int code) {
  g_trace += "exit[" + std::to_string(code) + "] product[" + installState().productCode + "]";
  std::fprintf(stderr, "%s\n", g_trace == g_expected ? "TRACE-AS-EXPECTED"
                                                    : ("TRACE-DIFFERS: " + g_trace).c_str());
  std::fflush(stderr);
}

class VersionGate : public ::testing::Test {
 protected:
  void SetUp() override {
    installState() = InstallState();
    resetExitRoutinesForTesting();
    setServerHostForTesting(testHost());
    setMessageBoxHookForTesting(recordBox);
    setShellExecuteHookForTesting(recordShell);
    setProcessEndForTesting(reportAtExit);
    g_trace.clear();
    setServerRule("", "");
    // The gate reads the product name from the main window's label, so a
    // window (without creation handler) must exist.
    if (!ui::mainWindowHandle() && ui::labelText(Ctl::标签_软件名).empty()) {
      ASSERT_TRUE(ui::loadMainWindow(FormHandlers()));
    }
    ui::setLabelText(Ctl::标签_软件名, "VIduva");
    ASSERT_EQ(ui::labelText(Ctl::标签_软件名), "VIduva");
  }
  void TearDown() override {
    setServerRule("", "");
    setMessageBoxHookForTesting(nullptr);
    setShellExecuteHookForTesting(nullptr);
    setProcessEndForTesting(nullptr);
    setServerHostForTesting("");
  }
};

const std::string kServerFailure = "box[提示|连接服务器失败，请稍后重试|0]exit[0] product[]";

}  // namespace

TEST_F(VersionGate, SameVersionContinuesWithEveryFieldSet) {
  serveManifest(manifestWithVersion("V11"));
  runVersionGate();
  const InstallState& s = installState();
  EXPECT_EQ(g_trace, "");  // no box, no browser
  EXPECT_EQ(s.installerVersion, "V11");
  EXPECT_EQ(s.serverInstallerVersion, "V11");
  EXPECT_EQ(s.serverHost, testHost());
  EXPECT_EQ(s.productCode, "PP");
  EXPECT_EQ(s.brandName, "PP");
  EXPECT_EQ(s.mainProgramUrl, "http://" + testHost() + ":5001/vrk/exe/zcx/PP_z.exe");
  EXPECT_EQ(textToUtf8(s.updateUrl), "http://example.org/pp.html");
  EXPECT_EQ(textToUtf8(s.updatePrompt), "发现新版本，请下载最新安装器");
}

TEST_F(VersionGate, DefaultDirIsTheAppDataFolderWithOneSeparatorBeforeLanJing) {
  serveManifest(manifestWithVersion("V11"));
  runVersionGate();
  const Text appData = specialFolderPath(kCsidlAppData);
  ASSERT_GE(appData.size(), 2u);
  const Text& dir = installState().defaultDir;
  EXPECT_EQ(dir, appData + "LanJing");
  const char separator = appData.back();
  EXPECT_TRUE(separator == '\\' || separator == '/');
  ASSERT_GT(dir.size(), 9u);
  EXPECT_EQ(dir[dir.size() - 8], separator);
  EXPECT_NE(dir[dir.size() - 9], separator);
}

TEST_F(VersionGate, SendsOneManifestRequestWithTheInstallersAgent) {
  clearServerLog();
  serveManifest(manifestWithVersion("V11"));
  runVersionGate();
  const std::string log = serverLog();
  EXPECT_NE(log.find("GET /vrk/azq.txt range=- ua=Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.0) -> 200"),
            std::string::npos)
      << log;
}

TEST_F(VersionGate, UnknownProductStillContinuesWithEmptyCode) {
  ui::setLabelText(Ctl::标签_软件名, "VIduva ");
  serveManifest(manifestWithVersion("V11"));
  runVersionGate();
  EXPECT_EQ(installState().productCode, "");
  EXPECT_EQ(installState().mainProgramUrl, "http://" + testHost() + ":5001/vrk/exe/zcx/_z.exe");
  // The bare update key is found inside the first brand's entry.
  EXPECT_EQ(textToUtf8(installState().updateUrl), "http://example.org/lj.html");
}

TEST_F(VersionGate, AnyOtherVersionShowsThePromptThenOpensTheBrowserThenExits) {
  for (const std::string version : {"V12", "V10", "v11", "V11 ", " V11", "V11\r\n"}) {
    serveManifest(manifestWithVersion(version));
    g_expected = "box[提示|发现新版本，请下载最新安装器|0]shell[open|http://example.org/pp.html|1]"
                 "exit[0] product[PP]";
    EXPECT_EXIT(runVersionGate(), ::testing::ExitedWithCode(0), "TRACE-AS-EXPECTED")
        << "server version '" << version << "'";
  }
}

TEST_F(VersionGate, UpdateAddressThatIsNoWebPageIsNeverOpened) {
  const struct {
    std::string address;
    bool opened;
  } cases[] = {
      {"HTTPS://example.org/new", true},
      {"", false},
      {"C:\\x.exe", false},
      {"file:///C:/x.exe", false},
      {"javascript:alert(1)", false},
      {"ftp://example.org/setup.exe", false},
  };
  for (const auto& c : cases) {
    serveManifest("安装器版本号=（V12）更新提示=（请更新）PP自销更新跳转=（" + c.address + "）");
    g_expected = "box[提示|请更新|0]" + (c.opened ? "shell[open|" + c.address + "|1]" : "") +
                 "exit[0] product[PP]";
    EXPECT_EXIT(runVersionGate(), ::testing::ExitedWithCode(0), "TRACE-AS-EXPECTED") << c.address;
  }
}

TEST_F(VersionGate, NoServerVersionFailsBeforeTheProductIsLookedUp) {
  const std::string manifests[] = {
      "",                                   // empty body
      "更新提示=（请更新）",                  // no version key
      "安装器版本号=（）",                    // empty version
      "安装器版本号=（V11",                   // no closing parenthesis
  };
  for (const std::string& m : manifests) {
    serveManifest(m);
    g_expected = kServerFailure;
    EXPECT_EXIT(runVersionGate(), ::testing::ExitedWithCode(0), "TRACE-AS-EXPECTED") << m;
  }
}

TEST_F(VersionGate, ErrorStatusBodyCountsAsNoManifest) {
  setServerRule("/vrk/azq.txt", "status=503");
  g_expected = kServerFailure;
  EXPECT_EXIT(runVersionGate(), ::testing::ExitedWithCode(0), "TRACE-AS-EXPECTED");
}

TEST_F(VersionGate, UnreachableServerFails) {
  // Nothing listens on port 5001 of this loopback address.
  setServerHostForTesting("127.0.0.254");
  g_expected = kServerFailure;
  EXPECT_EXIT(runVersionGate(), ::testing::ExitedWithCode(0), "TRACE-AS-EXPECTED");
}
