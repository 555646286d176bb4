#include "install/directory_choice.h"

#include "app/install_state.h"
#include "install/folder_browser.h"
#include "manifest/text_between.h"
#include "runtime/codepage.h"
#include "runtime/text_search.h"
#include "ui/main_window.h"

namespace {

const char kFolderWord[] = "LanJing";
const char kSeparatedFolderWord[] = "\\LanJing";

void showDefaultDirectory() {
  InstallState& state = installState();
  ui::setEditContent(Ctl::编辑框_自定义目录, state.defaultDir);
  state.customDir = state.defaultDir;
}

}  // namespace

void onCustomLinkClicked() {
  ui::setCurrentPage(kPageCustomInstall);
  showDefaultDirectory();
}

void onChooseDirectoryClicked() {
  InstallState& state = installState();
  const Text chosen = browseForFolder(gbk("请选择欲安装的目录"));
  state.customDir = chosen + kFolderWord;
  // Cut before the first "LanJing", so choosing D:\LanJing itself installs
  // there rather than into D:\LanJing\LanJing.
  const Text parent = textLeftOf(state.customDir, kFolderWord);
  ui::setEditContent(Ctl::编辑框_自定义目录, parent);
  if (state.customDir == kFolderWord) {  // cancelled, or no file-system folder
    showDefaultDirectory();
    return;
  }
  state.customDir = parent + kSeparatedFolderWord;
  // A drive root comes back as X:\ and has given X:\\LanJing.
  const Text between = textBetween(state.customDir, ":", kFolderWord);
  if (between != "\\\\") return;
  state.customDir = textReplaceAll(state.customDir, between, "\\");
}
