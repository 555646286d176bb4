#include "ui/window_handlers.h"

#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "ui/main_window.h"

namespace {

void setLinkColor(Ctl label, int32_t entered) {
  ui::setLabelColor(label, entered == 1 ? kLinkColorHovered : kLinkColorNormal);
}

}  // namespace

void onCustomLinkHover(int32_t entered) { setLinkColor(Ctl::标签_自定义安装, entered); }

void onBackLinkHover(int32_t entered) { setLinkColor(Ctl::标签_返回快速安装, entered); }

void onBackLinkClicked() { ui::setCurrentPage(kPageQuickInstall); }

void onExitClicked() {
  // OK and Cancel, OK the default, no icon; owned by the main window so the
  // window takes no input while the question is open.
  int answer = showMessageBox(ui::mainWindowHandle(), gbk("您确定现在退出安装吗？"), gbk("提示"),
                              kMbOkCancel);
  if (answer == kIdOk) exitProgram(0);
}
