#include "manifest/version_gate.h"

#include <cctype>
#include <cstddef>

#include "app/install_state.h"
#include "manifest/manifest_fetch.h"
#include "manifest/text_between.h"
#include "manifest/window_order.h"
#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "runtime/shell_folders.h"
#include "ui/main_window.h"

const char* const kInstallerVersion = "V11";

namespace {

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

bool startsWithIgnoringCase(const Text& text, const char* prefix) {
  std::size_t i = 0;
  for (; prefix[i]; ++i) {
    if (i >= text.size()) return false;
    if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
  }
  return true;
}

[[noreturn]] void failServerUnreachable() {
  showMessageBox(nullptr, gbk("连接服务器失败，请稍后重试"), gbk("提示"), kMbOk);
  exitProgram(0);
}

[[noreturn]] void redirectToUpdate(const InstallState& state) {
  showWindowNotTopmost(ui::mainWindowHandle());
  showMessageBox(nullptr, state.updatePrompt, gbk("提示"), kMbOk);
  // Only a web page is opened: an address that names a local program, a
  // file or another scheme would have the shell run whatever the server says.
  if (isWebAddress(state.updateUrl)) shellExecute("open", state.updateUrl, kShowNormal);
  exitProgram(0);
}

}  // namespace

const std::vector<ProductVariant>& productVariants() {
  static const std::vector<ProductVariant> rows = {
      {gbk("LOL岚鲸助手"), "lj", gbk("岚鲸")},
      {gbk("LOL橙屿助手"), "cy", gbk("橙屿")},
      {gbk("KK换肤盒子"), "KK", "KK"},
      {gbk("LOL雾匣助手"), "wx", gbk("雾匣")},
      {gbk("LOL赤隼助手"), "cs", gbk("赤隼")},
      {"VIduva", "PP", "PP"},
  };
  return rows;
}

void selectProductVariant(const Text& productName) {
  for (const ProductVariant& row : productVariants()) {
    if (row.fullName == productName) {
      installState().productCode = row.productCode;
      installState().brandName = row.brandName;
      return;
    }
  }
}

Text defaultDirIn(const Text& appDataFolder) { return appDataFolder + "LanJing"; }

Text mainProgramUrl(const Text& host, const Text& productCode) {
  return "http://" + host + ":5001/vrk/exe/zcx/" + productCode + "_z.exe";
}

Text updateUrlKey(const Text& brandName) { return brandName + gbk("自销更新跳转=（"); }

bool isWebAddress(const Text& address) {
  return startsWithIgnoringCase(address, "http://") || startsWithIgnoringCase(address, "https://");
}

void runVersionGate() {
  InstallState& state = installState();
  state.installerVersion = kInstallerVersion;
  state.defaultDir = defaultDirIn(specialFolderPath(kCsidlAppData));

  Text manifest = fetchManifest();
  const Text close = gbk("）");
  state.serverInstallerVersion = textBetween(manifest, gbk("安装器版本号=（"), close);
  if (state.serverInstallerVersion.empty()) failServerUnreachable();

  selectProductVariant(ui::labelText(Ctl::标签_软件名));
  state.mainProgramUrl = mainProgramUrl(state.serverHost, state.productCode);
  state.updateUrl = textBetween(manifest, updateUrlKey(state.brandName), close);
  state.updatePrompt = textBetween(manifest, gbk("更新提示=（"), close);

  // An exact equality test, not an ordering: any other version redirects.
  if (state.installerVersion == state.serverInstallerVersion) return;
  redirectToUpdate(state);
}
