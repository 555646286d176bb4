// The stored form of the main window 窗口: every control in one table, in
// drawing order (back to front), and the builder that turns it into a
// skin::Window with the handlers bound.
#pragma once

#include <cstddef>
#include <cstdint>

#include "skin/window.h"
#include "ui/main_window.h"

namespace ui {

constexpr int kWindowWidth = 440;
constexpr int kWindowHeight = 540;
constexpr int kPageCount = 4;
constexpr int32_t kProgressMaximum = 300;

// Which handler of FormHandlers an event goes to (pointers to members).
using ClickSlot = void (*FormHandlers::*)();
using ValueSlot = void (*FormHandlers::*)(int32_t);

struct FormControl {
  Ctl name;
  skin::Kind kind;
  const char* label;  // the control's name in the form (UTF-8)
  int x, y, width, height;
  int page;    // skin::kNoPage for the window's own controls
  Ctl parent;  // Ctl::窗口 when placed directly on the window
  const char* text;  // UTF-8
  int fontPx;
  int fontWeight;
  uint32_t textColor;
  skin::HAlign hAlign;
  skin::VAlign vAlign;
  int opacity;
  const char* pictures[3];  // embedded artwork, one per visual state
  skin::PictureFit fit;
  bool takesMouse;
  bool handCursor;
  bool disabled;
  ClickSlot click;    // click (the window: creation complete)
  ValueSlot onValue;  // hover change (ZIP压缩1: unzip progress)
};

// The face of every text of the form.
extern const char kFontFace[];  // "微软雅黑"

// The form's rows in drawing order; each Ctl appears exactly once.
const FormControl* formControls(size_t* count);
const FormControl& formControl(Ctl name);

// The stored text of 标签_软件名: the product name this build installs.
const char* productNameUtf8();

// Adds every control of the form to window (ids equal int(Ctl)), loads the
// artwork and binds handlers. False when the artwork cannot be decoded.
bool buildForm(skin::Window* window, const FormHandlers& handlers);

}  // namespace ui
