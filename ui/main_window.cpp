#include "ui/main_window.h"

#include <memory>

#include "runtime/app_runtime.h"
#include "runtime/codepage.h"
#include "runtime/zip/zip_unpack.h"
#include "skin/host.h"
#include "ui/form.h"

namespace ui {
namespace {

const char16_t kWindowClassName[] = u"LanJingSetupWindow";

struct MainWindow {
  skin::Window window{kWindowWidth, kWindowHeight};
  std::unique_ptr<skin::Host> host;
  FormHandlers handlers;
  bool alive = false;  // the native window exists and was counted
};

std::unique_ptr<MainWindow>& mainWindow() {
  static std::unique_ptr<MainWindow> w;
  return w;
}

skin::Window* skinned() {
  auto& w = mainWindow();
  return w ? &w->window : nullptr;
}

void onHostDestroyed() {
  auto& w = mainWindow();
  if (w && w->alive) {
    w->alive = false;
    noteWindowDestroyed();
  }
}

bool isControl(Ctl c) { return int(c) >= 0 && skinned() && int(c) < skinned()->count(); }

// The ZIP component's progress event, bound to the form's handler.
struct UnzipBinding {
  void (*onProgress)(int32_t) = nullptr;
};

void raiseUnzipProgress(void* context, int32_t percent) {
  const auto* binding = static_cast<const UnzipBinding*>(context);
  if (binding && binding->onProgress) binding->onProgress(percent);
}

}  // namespace

bool loadMainWindow(const FormHandlers& handlers) {
  closeMainWindowForTesting();
  auto w = std::make_unique<MainWindow>();
  w->handlers = handlers;
  if (!buildForm(&w->window, handlers)) return false;
  w->host = skin::makePlatformHost();
  w->host->setDestroyedListener(&onHostDestroyed);
  const std::u16string title = utf8ToUtf16(productNameUtf8());
  if (!w->host->create(&w->window, kWindowClassName, title)) return false;
  w->alive = true;
  mainWindow() = std::move(w);
  noteWindowCreated();
  // Creation complete: the handler runs to its end (or ends the process)
  // before the window is shown.
  if (handlers.onMainWindowCreated) handlers.onMainWindowCreated();
  if (mainWindow()) mainWindow()->host->show();
  return true;
}

void setCurrentPage(int page) {
  if (skinned()) skinned()->setCurrentPage(page);
}

int currentPage() { return skinned() ? skinned()->currentPage() : 0; }

void setProgressPosition(int32_t position) {
  if (skinned()) skinned()->setPosition(int(Ctl::进度条EX1), position);
}

int32_t progressPosition() { return skinned() ? skinned()->position(int(Ctl::进度条EX1)) : 0; }

void setLabelText(Ctl label, const Text& text) {
  if (isControl(label)) skinned()->setText(int(label), gbkToUtf16(text));
}

Text labelText(Ctl label) { return isControl(label) ? utf16ToGbk(skinned()->text(int(label))) : Text(); }

void setLabelColor(Ctl label, uint32_t argb) {
  if (isControl(label)) skinned()->setTextColor(int(label), argb);
}

uint32_t labelColor(Ctl label) { return isControl(label) ? skinned()->control(int(label)).textColor : 0; }

void setDisabled(Ctl control, bool disabled) {
  if (isControl(control)) skinned()->setDisabled(int(control), disabled);
}

bool isDisabled(Ctl control) { return isControl(control) && skinned()->control(int(control)).disabled; }

void setEditContent(Ctl edit, const Text& text) {
  if (isControl(edit)) skinned()->setText(int(edit), gbkToUtf16(text));
}

Text editContent(Ctl edit) { return isControl(edit) ? utf16ToGbk(skinned()->text(int(edit))) : Text(); }

bool unpackWithZipComponent(const Text& archivePath, const Text& targetDir) {
  UnzipBinding binding;
  if (mainWindow()) binding.onProgress = mainWindow()->handlers.onUnzipProgress;
  return unzipArchive(archivePath, targetDir, &raiseUnzipProgress, &binding);
}

void* mainWindowHandle() { return mainWindow() ? mainWindow()->host->nativeHandle() : nullptr; }

skin::Window* mainSkinWindowForTesting() { return skinned(); }

void closeMainWindowForTesting() {
  auto& w = mainWindow();
  if (!w) return;
  if (w->host) w->host->destroy();
  onHostDestroyed();
  w.reset();
}

}  // namespace ui
