// Renders the four pages of the main window on the headless host into PNG
// files, for comparison with the screenshots taken under Windows.
//
//   ui_render_pages OUTPUT_FOLDER
#include <cstdio>
#include <string>

#include "runtime/codepage.h"
#include "skin/window.h"
#include "ui/form.h"
#include "ui/main_window.h"

namespace {

// The state each page shows in a real run, product names copied at start.
void prepare(int page) {
  const Text name = ui::labelText(Ctl::标签_软件名);
  for (Ctl c : {Ctl::标签_软件名1, Ctl::标签_软件名2, Ctl::标签_软件名3}) ui::setLabelText(c, name);
  ui::setEditContent(Ctl::编辑框_自定义目录, gbk("C:\\Program Files\\LanJing"));
  ui::setCurrentPage(page);
  if (page == kPageInstalling) {
    ui::setProgressPosition(150);
    ui::setLabelText(Ctl::标签_进度, "50%");
    ui::setDisabled(Ctl::图片按钮_退出, true);
  } else {
    ui::setDisabled(Ctl::图片按钮_退出, false);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s OUTPUT_FOLDER\n", argv[0]);
    return 2;
  }
  if (!ui::loadMainWindow(FormHandlers())) {
    std::fprintf(stderr, "the main window could not be built\n");
    return 1;
  }
  const char* names[] = {"page0-quick", "page1-custom", "page2-installing", "page3-finished"};
  for (int page = 0; page < 4; ++page) {
    prepare(page);
    const std::string path = std::string(argv[1]) + "/" + names[page] + "-native.png";
    if (!skin::savePng(ui::mainSkinWindowForTesting()->paint(), path)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
