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
#include "ui/page_preview.h"

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
    ui::showPageAsInARealRun(page);
    const std::string path = std::string(argv[1]) + "/" + names[page] + "-native.png";
    if (!skin::savePng(ui::mainSkinWindowForTesting()->paint(), path)) {
      std::fprintf(stderr, "cannot write %s\n", path.c_str());
      return 1;
    }
    std::printf("%s\n", path.c_str());
  }
  return 0;
}
