#include "install/install_sequence.h"

#include "app/install_state.h"
#include "download/download_task.h"
#include "download/progress_display.h"
#include "install/path_utils.h"
#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "runtime/file_commands.h"
#include "runtime/http_read.h"
#include "runtime/ini_file.h"
#include "runtime/shell_folders.h"
#include "runtime/shortcut.h"
#include "ui/main_window.h"

const char* const kMarkerIniPath = "C:\\LanJing.ini";

namespace {

// The tree below D, parents first; each is created one level at a time.
const char* const kTree[] = {
    "", "\\Data", "\\Config", "\\resource", "\\resource\\Mountcache",
    "\\Data\\image", "\\Data\\image\\head", "\\Data\\image\\uncentered",
};

class Install {
 public:
  Install(InstallEntry entry, const Text* dirField) : entry_(entry), dir_(*dirField) {}

  std::vector<Text> run() {
    enter();
    fetchFiles();
    writeMarkers();
    unpack();
    finish();
    return failed_;
  }

 private:
  Text d(const char* suffix) const { return dir_ + gbk(suffix); }
  static Text serverUrl(const char* path) { return "http://" + installState().serverHost + path; }
  static Text productName() { return ui::labelText(Ctl::标签_软件名); }
  Text programPath() const { return dir_ + "\\" + productName() + ".exe"; }

  void fail(const Text& fileName) {
    for (const Text& f : failed_)
      if (f == fileName) return;
    failed_.push_back(fileName);
  }

  void createTree() {
    for (const char* sub : kTree) createOneDirectory(d(sub));
  }

  void showInstallingPage() {
    ui::setCurrentPage(kPageInstalling);
    ui::setLabelText(Ctl::标签_提示文本, gbk("正在安装中，请耐心等待..."));
    ui::setDisabled(Ctl::图片按钮_退出, true);
  }

  // The quick install shows the installing page before it creates anything;
  // the custom install lays out the tree while its page is still shown.
  void enter() {
    processEvents();
    if (entry_ == InstallEntry::Quick) {
      showInstallingPage();
      processEvents();
      createTree();
    } else {
      createTree();
      showInstallingPage();
    }
  }

  void download(const Text& url, const Text& target, DownloadProgressCallback progress,
                const Text& name) {
    Text message;
    DownloadResult r = installState().downloadTask->download(url, target, progress, 0, false, message);
    if (r != DownloadResult::Completed) fail(name);
  }

  // An error page or an empty answer must never replace a library that works:
  // only a successful, non-empty body is written, and through a temporary
  // file, so the old file stays on every failure.
  void fetchLibrary(const char* urlPath, const char* target, const char* name) {
    int status = 0;
    Bytes body = httpReadWhole(serverUrl(urlPath), &status);
    bool ok = status >= 200 && status <= 299 && !body.empty() && writeWholeFile(d(target), body);
    if (!ok) fail(name);
  }

  void fetchFiles() {
    download(serverUrl(":5001/vrk/shuju/yxtx.zip"), d("\\Data\\image\\head\\头像.zip"),
             onDownloadProgress1, gbk("头像.zip"));
    processEvents();
    fetchLibrary(":5001/vrk/shuju/libcurl.dll", "\\libcurl.dll", "libcurl.dll");
    fetchLibrary(":5001/vrk/shuju/HPSocket4C.dll", "\\HPSocket4C.dll", "HPSocket4C.dll");
    download(serverUrl(":5001/vrk/shuju/mhtp.zip"), d("\\Data\\image\\美化.zip"),
             onDownloadProgress2, gbk("美化.zip"));
    download(installState().mainProgramUrl, programPath(), onDownloadProgress3,
             productName() + ".exe");
  }

  void writeMarkers() {
    iniWrite(kMarkerIniPath, "prompt", "prompt",
             gbk("这是") + installState().brandName + gbk("助手生成的一个配置文件，请勿删除"));
    iniWrite(kMarkerIniPath, "BASE", "path", dir_);
    createShortcut(specialFolderPath(kCsidlDesktopDirectory) + productName(), programPath());
    installState().installedProgramPath = programPath();
  }

  void unpackArchive(const char* archive, const char* target, const char* name) {
    if (!ui::unpackWithZipComponent(d(archive), d(target))) fail(gbk(name));
  }

  void unpack() {
    ui::setLabelText(Ctl::标签_提示文本, gbk("正在解压所需数据..."));
    unpackArchive("\\Data\\image\\head\\头像.zip", "\\Data\\image\\head\\", "头像.zip");
    ui::setLabelText(Ctl::标签_提示文本, gbk("即将完成安装，请稍等..."));
    // Empties what an earlier install left there; creates nothing new.
    if (isDirectory(d("\\Data\\image\\resource"))) refreshDirectory(d("\\Data\\image\\resource"));
    unpackArchive("\\Data\\image\\美化.zip", "\\Data\\image\\", "美化.zip");
    deleteOneFile(d("\\Data\\image\\head\\头像.zip"));
    deleteOneFile(d("\\Data\\image\\美化.zip"));
  }

  Text failureMessage() const {
    Text names;
    for (const Text& f : failed_) names += (names.empty() ? "" : ", ") + f;
    return gbk("安装未完成，请检查网络连接后重试") + "\n" + names;
  }

  // The finished page and its run button appear only after a complete
  // install; otherwise the user learns what is missing and can try again.
  void finish() {
    if (failed_.empty()) {
      ui::setCurrentPage(kPageFinished);
      ui::setDisabled(Ctl::图片按钮_退出, false);
      return;
    }
    showMessageBox(ui::mainWindowHandle(), failureMessage(), gbk("提示"), kMbOk);
    ui::setCurrentPage(entry_ == InstallEntry::Quick ? kPageQuickInstall : kPageCustomInstall);
    ui::setDisabled(Ctl::图片按钮_退出, false);
    ui::setProgressPosition(0);
    ui::setLabelText(Ctl::标签_进度, "0%");
  }

  const InstallEntry entry_;
  const Text& dir_;  // the field itself: read afresh at every step
  std::vector<Text> failed_;
};

}  // namespace

std::vector<Text> runInstallSequence(InstallEntry entry, const Text* dirField) {
  return Install(entry, dirField).run();
}

void onQuickInstallClicked() { runInstallSequence(InstallEntry::Quick, &installState().defaultDir); }

void onCustomInstallClicked() { runInstallSequence(InstallEntry::Custom, &installState().customDir); }
