#include "manifest/version_gate.h"

#include <gtest/gtest.h>

#include "app/install_state.h"
#include "runtime/codepage.h"

namespace {

struct ProductCase {
  const char* what;
  Text name;
  Text code;   // expected; empty: no row matches
  Text brand;
};

}  // namespace

TEST(ProductTable, EveryRowAndNearMisses) {
  const ProductCase cases[] = {
      {"lj", gbk("LOL岚鲸助手"), "lj", gbk("岚鲸")},
      {"cy", gbk("LOL橙屿助手"), "cy", gbk("橙屿")},
      {"KK", gbk("KK换肤盒子"), "KK", "KK"},
      {"wx", gbk("LOL雾匣助手"), "wx", gbk("雾匣")},
      {"cs", gbk("LOL赤隼助手"), "cs", gbk("赤隼")},
      {"PP", "VIduva", "PP", "PP"},
      {"trailing space", "VIduva ", "", ""},
      {"leading space", " VIduva", "", ""},
      {"letter case", "viduva", "", ""},
      {"letter case in a Chinese name", gbk("lol岚鲸助手"), "", ""},
      {"brand alone", gbk("岚鲸"), "", ""},
      {"empty name", "", "", ""},
      {"the name in UTF-8 instead of GBK", "LOL岚鲸助手", "", ""},
  };
  for (const ProductCase& c : cases) {
    installState() = InstallState();
    selectProductVariant(c.name);
    EXPECT_EQ(installState().productCode, c.code) << c.what;
    EXPECT_EQ(installState().brandName, c.brand) << c.what;
  }
}

TEST(ProductTable, NoMatchKeepsTheEarlierSelection) {
  installState() = InstallState();
  selectProductVariant("VIduva");
  selectProductVariant("nothing");
  EXPECT_EQ(installState().productCode, "PP");
  EXPECT_EQ(installState().brandName, "PP");
}

TEST(VersionGateUrls, MainProgramAndUpdateKey) {
  EXPECT_EQ(mainProgramUrl("h.example", "PP"), "http://h.example:5001/vrk/exe/zcx/PP_z.exe");
  // No product selected: the code is simply missing from the name.
  EXPECT_EQ(mainProgramUrl("h.example", ""), "http://h.example:5001/vrk/exe/zcx/_z.exe");
  EXPECT_EQ(updateUrlKey("PP"), "PP" + gbk("自销更新跳转=（"));
}

TEST(UpdateAddressFilter, OnlyWebPagesGoToTheShell) {
  const struct {
    Text address;
    bool open;
  } cases[] = {
      {"http://example.org/update.html", true},
      {"HTTPS://example.org/", true},
      {"Http://x", true},
      {"https://", true},
      {"", false},
      {"C:\\x.exe", false},
      {"file:///C:/x.exe", false},
      {"javascript:alert(1)", false},
      {"ftp://example.org/setup.exe", false},
      {" http://example.org/", false},
      {"http:/example.org", false},
      {"httpx://example.org", false},
      {"calc.exe", false},
      {"\\\\server\\share\\x.exe", false},
  };
  for (const auto& c : cases) EXPECT_EQ(isWebAddress(c.address), c.open) << c.address;
}
