#include "ui/page_preview.h"

#include "runtime/codepage.h"
#include "ui/main_window.h"

namespace ui {

void showPageAsInARealRun(int page) {
  const Text name = labelText(Ctl::标签_软件名);
  for (Ctl c : {Ctl::标签_软件名1, Ctl::标签_软件名2, Ctl::标签_软件名3}) setLabelText(c, name);
  setEditContent(Ctl::编辑框_自定义目录, gbk("C:\\Program Files\\LanJing"));
  setCurrentPage(page);
  const bool installing = page == kPageInstalling;
  if (installing) {
    setProgressPosition(150);
    setLabelText(Ctl::标签_进度, "50%");
  }
  setDisabled(Ctl::图片按钮_退出, installing);
}

}  // namespace ui
