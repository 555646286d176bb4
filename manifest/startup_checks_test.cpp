// The creation handler as a whole, with the real window and the test server:
// the product name reaches every page before the guard and the gate run.
#include <gtest/gtest.h>

#include "app/install_state.h"
#include "manifest/server_host.h"
#include "manifest/version_gate.h"
#include "runtime/codepage.h"
#include "tests/support/test_env.h"
#include "ui/main_window.h"

TEST(StartupChecks, NameReachesEveryPageThenTheProductIsSelected) {
  const struct {
    const char* name;
    const char* code;
    const char* brand;
  } cases[] = {
      {"LOL岚鲸助手", "lj", "岚鲸"},
      {"", "", ""},  // an empty label is copied too; no product matches
  };
  ASSERT_TRUE(ui::loadMainWindow(FormHandlers()));
  setServerHostForTesting(testServerHost());
  ASSERT_TRUE(setServerRule("/vrk/azq.txt",
                            "body=安装器版本号=（V11）岚鲸自销更新跳转=（http://example.org/lj.html）"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    installState() = InstallState();
    ui::setLabelText(Ctl::标签_软件名, gbk(c.name));
    onMainWindowCreated();  // V11 on both sides: returns, the window stays
    for (Ctl copy : {Ctl::标签_软件名1, Ctl::标签_软件名2, Ctl::标签_软件名3})
      EXPECT_EQ(ui::labelText(copy), gbk(c.name));
    EXPECT_EQ(installState().productCode, c.code);
    EXPECT_EQ(installState().brandName, gbk(c.brand));
    EXPECT_EQ(installState().mainProgramUrl,
              "http://" + testServerHost() + ":5001/vrk/exe/zcx/" + c.code + "_z.exe");
  }
  setServerRule("", "");
}
