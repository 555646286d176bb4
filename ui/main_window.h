// The main window 窗口 as the handlers see it: its controls by their form
// names and the operations the handlers rely on. The skinned-control library
// (skin/) and the form table (ui/form.*) implement it; a headless host serves
// the tests.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace skin {
class Window;
}

// Every control of the form, by the name the form gives it.
enum class Ctl {
  窗口,
  窗口EX1,
  ZIP压缩1,
  图片按钮_退出,
  选择夹EX1,
  // page 0: quick install
  图片框EX3,
  标签_软件名,
  按钮_快速安装,
  标签_自定义安装,
  // page 1: custom install
  图片框EX1,
  标签_软件名1,
  图片框EX2,
  标签EX2,
  编辑框_自定义目录,
  图片按钮_目录选择,
  按钮_自定义安装,
  标签_返回快速安装,
  // page 2: installing
  图片框EX5,
  标签_软件名2,
  进度条EX1,
  标签_进度,
  标签_提示文本,
  // page 3: finished
  图片框EX6,
  标签_软件名3,
  图片框EX4,
  按钮_运行,
};

// Pages of 选择夹EX1.
constexpr int kPageQuickInstall = 0;
constexpr int kPageCustomInstall = 1;
constexpr int kPageInstalling = 2;
constexpr int kPageFinished = 3;

// The handlers the form binds to its events. A null entry means no handler.
struct FormHandlers {
  void (*onMainWindowCreated)() = nullptr;          // 窗口, creation complete
  void (*onUnzipProgress)(int32_t value) = nullptr;  // ZIP压缩1, progress
  void (*onExitClicked)() = nullptr;                 // 图片按钮_退出, click
  void (*onQuickInstallClicked)() = nullptr;         // 按钮_快速安装, click
  void (*onCustomLinkHover)(int32_t entered) = nullptr;  // 标签_自定义安装, hover
  void (*onCustomLinkClicked)() = nullptr;           // 标签_自定义安装, click
  void (*onCustomInstallClicked)() = nullptr;        // 按钮_自定义安装, click
  void (*onChooseDirectoryClicked)() = nullptr;      // 图片按钮_目录选择, click
  void (*onBackLinkHover)(int32_t entered) = nullptr;  // 标签_返回快速安装, hover
  void (*onBackLinkClicked)() = nullptr;             // 标签_返回快速安装, click
  void (*onRunClicked)() = nullptr;                  // 按钮_运行, click
};

namespace ui {

// Creates the main window from its stored form, binds the handlers and raises
// the creation-complete event; its handler runs to its end (and may end the
// process) before this returns. False when the window could not be made.
bool loadMainWindow(const FormHandlers& handlers);

// 选择夹EX1: clamped to 0..3; the old page's controls hide, the new page's show.
void setCurrentPage(int page);
int currentPage();

// 进度条EX1: clamped to 0..300; writing the stored value does nothing.
void setProgressPosition(int32_t position);
int32_t progressPosition();

// Label texts are GBK Text, converted with code page 936 (never the system's
// ANSI code page).
void setLabelText(Ctl label, const Text& text);
Text labelText(Ctl label);
void setLabelColor(Ctl label, uint32_t argb);
uint32_t labelColor(Ctl label);

void setDisabled(Ctl control, bool disabled);
bool isDisabled(Ctl control);

// 编辑框_自定义目录: replaces the whole shown text.
void setEditContent(Ctl edit, const Text& text);
Text editContent(Ctl edit);

// ZIP压缩1: unpacks archive below targetDir, raising the progress event
// (onUnzipProgress). True when every entry was written.
bool unpackWithZipComponent(const Text& archivePath, const Text& targetDir);

// Native handle of 窗口 (HWND on Windows), or nullptr when there is none.
void* mainWindowHandle();

// Test seams: the skinned window behind 窗口 (nullptr before the load), to
// drive mouse input and read the drawn frame; and closing 窗口 so that the
// next test loads a fresh one.
skin::Window* mainSkinWindowForTesting();
void closeMainWindowForTesting();

}  // namespace ui
