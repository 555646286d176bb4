#include "app/single_instance.h"
#include "manifest/version_gate.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "ui/main_window.h"

void onMainWindowCreated() {
  const Text productName = ui::labelText(Ctl::标签_软件名);
  ui::setLabelText(Ctl::标签_软件名1, productName);
  ui::setLabelText(Ctl::标签_软件名2, productName);
  ui::setLabelText(Ctl::标签_软件名3, productName);

  guardSingleInstance(ui::labelText(Ctl::标签_软件名),
                      gbk("请勿重复运行本程序，如程序未响应请尝试重启电脑！"),
                      kMbIconWarning);
  runVersionGate();
}
