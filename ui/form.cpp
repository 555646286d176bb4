#include "ui/form.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "runtime/codepage.h"
#include "skin/embedded.h"

#ifndef INSTALLER_PRODUCT_NAME_UTF8
#define INSTALLER_PRODUCT_NAME_UTF8 "VIduva"
#endif

namespace ui {

const char kFontFace[] = "微软雅黑";

namespace {

using skin::HAlign;
using skin::Kind;
using skin::PictureFit;
using skin::VAlign;

constexpr int kRegular = 400;
constexpr int kBold = 700;
constexpr uint32_t kGrey = 0xFF7A7A7A;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr int kOnWindow = skin::kNoPage;

// Row builders: one per kind of control, so the table below reads like the
// form's own property lists.
constexpr FormControl row(Ctl name, Kind kind, const char* label, int x, int y, int w, int h, int page,
                          Ctl parent) {
  return FormControl{name, kind, label, x, y, w, h, page, parent, "", 12, kRegular, kGrey,
                     HAlign::Left, VAlign::Top, 255, {nullptr, nullptr, nullptr}, PictureFit::Fill,
                     false, false, false, nullptr, nullptr};
}

constexpr FormControl picture(Ctl name, const char* label, int x, int y, int w, int h, int page, Ctl parent,
                              const char* png, PictureFit fit, int opacity = 255, bool disabled = false) {
  FormControl c = row(name, Kind::PictureBox, label, x, y, w, h, page, parent);
  c.pictures[0] = png;
  c.fit = fit;
  c.opacity = opacity;
  c.disabled = disabled;
  return c;
}

constexpr FormControl text(Ctl name, const char* label, int x, int y, int w, int h, int page, Ctl parent,
                           const char* value, int px, int weight, uint32_t color, HAlign ha, VAlign va,
                           int opacity = 255, bool disabled = false) {
  FormControl c = row(name, Kind::Label, label, x, y, w, h, page, parent);
  c.text = value;
  c.fontPx = px;
  c.fontWeight = weight;
  c.textColor = color;
  c.hAlign = ha;
  c.vAlign = va;
  c.opacity = opacity;
  c.disabled = disabled;
  return c;
}

constexpr FormControl link(Ctl name, const char* label, int x, int y, int w, int h, int page, const char* value,
                           ClickSlot click, ValueSlot hover) {
  FormControl c = text(name, label, x, y, w, h, page, Ctl::选择夹EX1, value, 13, kRegular, kGrey,
                       HAlign::Centre, VAlign::Centre);
  c.takesMouse = true;
  c.handCursor = true;
  c.click = click;
  c.onValue = hover;
  return c;
}

constexpr FormControl button(Ctl name, const char* label, int x, int y, int w, int h, int page,
                             const char* value, const char* normal, const char* hover, const char* pressed,
                             ClickSlot click) {
  FormControl c = row(name, Kind::Button, label, x, y, w, h, page, Ctl::选择夹EX1);
  c.text = value;
  c.fontPx = 15;
  c.fontWeight = kBold;
  c.textColor = kWhite;
  c.hAlign = HAlign::Centre;
  c.vAlign = VAlign::Centre;
  c.pictures[0] = normal;
  c.pictures[1] = hover;
  c.pictures[2] = pressed;
  c.takesMouse = true;
  c.click = click;
  return c;
}

constexpr FormControl pictureButton(Ctl name, const char* label, int x, int y, int w, int h, int page, Ctl parent,
                                    const char* normal, const char* hover, const char* pressed, bool hand,
                                    ClickSlot click) {
  FormControl c = row(name, Kind::PictureButton, label, x, y, w, h, page, parent);
  c.pictures[0] = normal;
  c.pictures[1] = hover;
  c.pictures[2] = pressed;
  c.takesMouse = true;
  c.handCursor = hand;
  c.click = click;
  return c;
}

constexpr FormControl editBox(Ctl name, const char* label, int x, int y, int w, int h, int page) {
  FormControl c = row(name, Kind::EditBox, label, x, y, w, h, page, Ctl::选择夹EX1);
  c.fontPx = 13;
  c.hAlign = HAlign::Left;
  c.vAlign = VAlign::Centre;
  c.pictures[0] = "edit_normal.png";
  c.pictures[1] = "edit_hover.png";
  c.takesMouse = true;
  return c;
}

constexpr FormControl progressRing(Ctl name, const char* label, int x, int y, int w, int h, int page) {
  FormControl c = row(name, Kind::ProgressBar, label, x, y, w, h, page, Ctl::选择夹EX1);
  c.pictures[0] = "ring_track.png";
  c.pictures[1] = "ring_progress.png";
  return c;
}

constexpr Ctl kTab = Ctl::选择夹EX1;
constexpr Ctl kWin = Ctl::窗口;
constexpr Ctl kBanner = Ctl::图片框EX1;

// Back to front. The close button comes last: it lies over the banner of the
// custom-install page.
const FormControl kForm[] = {
    [] {
      FormControl c = row(Ctl::窗口, Kind::Window, "窗口", 0, 0, kWindowWidth, kWindowHeight, kOnWindow, kWin);
      c.text = "";
      c.click = &FormHandlers::onMainWindowCreated;
      return c;
    }(),
    [] {
      // The skinned frame draws the whole face; its caption is one blank and
      // its three caption buttons are hidden, so they are not built at all.
      FormControl c = row(Ctl::窗口EX1, Kind::Frame, "窗口EX1", 0, 0, kWindowWidth, kWindowHeight, kOnWindow, kWin);
      c.text = " ";
      c.pictures[0] = "card.png";
      return c;
    }(),
    [] {
      FormControl c = row(Ctl::ZIP压缩1, Kind::Component, "ZIP压缩1", 40, 48, 26, 26, kOnWindow, kWin);
      c.onValue = &FormHandlers::onUnzipProgress;
      return c;
    }(),
    row(Ctl::选择夹EX1, Kind::TabControl, "选择夹EX1", 30, 30, 380, 480, kOnWindow, kWin),

    // page 0: quick install
    picture(Ctl::图片框EX3, "图片框EX3", 130, 93, 120, 120, kPageQuickInstall, kTab, "logo.png", PictureFit::Fill),
    text(Ctl::标签_软件名, "标签_软件名", 2, 222, 376, 34, kPageQuickInstall, kTab, INSTALLER_PRODUCT_NAME_UTF8, 21,
         kBold, kGrey, HAlign::Centre, VAlign::Top),
    button(Ctl::按钮_快速安装, "按钮_快速安装", 80, 324, 220, 50, kPageQuickInstall, "快速安装",
           "button_quick_normal.png", "button_quick_hover.png", "button_quick_pressed.png",
           &FormHandlers::onQuickInstallClicked),
    link(Ctl::标签_自定义安装, "标签_自定义安装", 80, 388, 220, 29, kPageQuickInstall, "自定义安装",
         &FormHandlers::onCustomLinkClicked, &FormHandlers::onCustomLinkHover),

    // page 1: custom install
    picture(Ctl::图片框EX1, "图片框EX1", 0, 0, 380, 226, kPageCustomInstall, kTab, "banner.png", PictureFit::Fill,
            245),
    text(Ctl::标签_软件名1, "标签_软件名1", 2, 153, 376, 37, kPageCustomInstall, kBanner, "LOL拾绘盒子", 21, kBold,
         kWhite, HAlign::Centre, VAlign::Top, 255, true),
    picture(Ctl::图片框EX2, "图片框EX2", 142, 49, 96, 96, kPageCustomInstall, kBanner, "logo.png", PictureFit::Fill,
            255, true),
    text(Ctl::标签EX2, "标签EX2", 30, 283, 38, 26, kPageCustomInstall, kTab, "目录", 14, kRegular, kGrey,
         HAlign::Left, VAlign::Centre),
    editBox(Ctl::编辑框_自定义目录, "编辑框_自定义目录", 75, 279, 230, 34, kPageCustomInstall),
    pictureButton(Ctl::图片按钮_目录选择, "图片按钮_目录选择", 318, 283, 26, 26, kPageCustomInstall, kTab,
                  "folder_normal.png", "folder_hover.png", nullptr, true, &FormHandlers::onChooseDirectoryClicked),
    button(Ctl::按钮_自定义安装, "按钮_自定义安装", 75, 343, 230, 40, kPageCustomInstall, "安装",
           "button_install_normal.png", "button_install_hover.png", "button_install_pressed.png",
           &FormHandlers::onCustomInstallClicked),
    link(Ctl::标签_返回快速安装, "标签_返回快速安装", 75, 407, 230, 30, kPageCustomInstall, "<返回快速安装",
         &FormHandlers::onBackLinkClicked, &FormHandlers::onBackLinkHover),

    // page 2: installing
    picture(Ctl::图片框EX5, "图片框EX5", 30, 20, 30, 30, kPageInstalling, kTab, "logo.png", PictureFit::Fill),
    text(Ctl::标签_软件名2, "标签_软件名2", 62, 24, 236, 32, kPageInstalling, kTab, "LOL云獭助手", 16, kRegular, kGrey,
         HAlign::Left, VAlign::Top, 200),
    progressRing(Ctl::进度条EX1, "进度条EX1", 115, 150, 150, 150, kPageInstalling),
    text(Ctl::标签_进度, "标签_进度", 139, 197, 102, 58, kPageInstalling, kTab, "0%", 25, kRegular, kGrey,
         HAlign::Centre, VAlign::Centre),
    text(Ctl::标签_提示文本, "标签_提示文本", 10, 340, 360, 40, kPageInstalling, kTab, "请稍候..", 16, kRegular, kGrey,
         HAlign::Centre, VAlign::Centre, 150),

    // page 3: finished
    picture(Ctl::图片框EX6, "图片框EX6", 30, 20, 30, 30, kPageFinished, kTab, "logo.png", PictureFit::Fill),
    text(Ctl::标签_软件名3, "标签_软件名3", 62, 24, 239, 26, kPageFinished, kTab, "LOL云獭助手", 16, kRegular, kGrey,
         HAlign::Left, VAlign::Top, 200),
    picture(Ctl::图片框EX4, "图片框EX4", 127, 141, 120, 120, kPageFinished, kTab, "tick.png", PictureFit::Fit),
    button(Ctl::按钮_运行, "按钮_运行", 93, 325, 194, 40, kPageFinished, "运 行", "button_run_normal.png",
           "button_run_hover.png", "button_run_pressed.png", &FormHandlers::onRunClicked),

    // on the window, above every page
    pictureButton(Ctl::图片按钮_退出, "图片按钮_退出", 370, 44, 26, 26, kOnWindow, kWin, "close_normal.png",
                  "close_hover.png", "close_pressed.png", false, &FormHandlers::onExitClicked),
};

constexpr size_t kFormSize = sizeof kForm / sizeof kForm[0];
static_assert(kFormSize == size_t(Ctl::按钮_运行) + 1, "every control of the form has one row");

// Decoded artwork, shared by the controls that use the same picture.
class PictureCache {
 public:
  const skin::Image* get(const char* name) {
    auto it = images_.find(name);
    if (it != images_.end()) return it->second.get();
    const skin::EmbeddedFile* file = skin::findEmbeddedFile(name);
    auto img = std::make_unique<skin::Image>();
    if (!file || !skin::decodePng(file->data, file->size, img.get())) return nullptr;
    return (images_[name] = std::move(img)).get();
  }

 private:
  std::map<std::string, std::unique_ptr<skin::Image>> images_;
};

}  // namespace

const FormControl* formControls(size_t* count) {
  *count = kFormSize;
  return kForm;
}

const FormControl& formControl(Ctl name) {
  for (const FormControl& c : kForm)
    if (c.name == name) return c;
  return kForm[0];
}

const char* productNameUtf8() { return INSTALLER_PRODUCT_NAME_UTF8; }

bool buildForm(skin::Window* window, const FormHandlers& handlers) {
  // Ids follow the Ctl enum, so add in that order; parents come first there.
  const std::u16string face = utf8ToUtf16(kFontFace);
  for (size_t id = 0; id < kFormSize; ++id) {
    const FormControl& f = formControl(Ctl(id));
    skin::Control c;
    c.kind = f.kind;
    c.name = f.label;
    c.x = f.x;
    c.y = f.y;
    c.width = f.width;
    c.height = f.height;
    c.page = f.page;
    c.parent = f.parent == Ctl::窗口 ? skin::kNoParent : int(f.parent);
    c.text = utf8ToUtf16(f.text ? f.text : "");
    c.font = skin::FontSpec{face, f.fontPx, f.fontWeight};
    c.textColor = f.textColor;
    c.hAlign = f.hAlign;
    c.vAlign = f.vAlign;
    c.opacity = f.opacity;
    c.takesMouse = f.takesMouse;
    c.handCursor = f.handCursor;
    c.disabled = f.disabled;
    if (f.kind == skin::Kind::ProgressBar) c.maximum = kProgressMaximum;
    if (f.kind == skin::Kind::TabControl) c.pageCount = kPageCount;
    // The window and the frame carry no visible text of their own.
    if (f.kind == skin::Kind::Window || f.kind == skin::Kind::Frame) c.text.clear();
    if (window->add(std::move(c)) != int(id)) return false;
  }

  PictureCache cache;
  for (size_t id = 0; id < kFormSize; ++id) {
    const FormControl& f = formControl(Ctl(id));
    std::vector<const skin::Image*> pictures;
    for (const char* name : f.pictures) {
      if (!name) continue;
      const skin::Image* img = cache.get(name);
      if (!img) return false;
      pictures.push_back(img);
    }
    if (!pictures.empty()) window->setPictures(int(id), pictures, f.fit);

    // Only clicks and hover changes reach the skinned window; creation
    // complete and the unzip progress are raised by the main window itself.
    if (f.kind == skin::Kind::Window || f.kind == skin::Kind::Component) continue;
    std::function<void()> onClick;
    std::function<void(int32_t)> onHover;
    if (f.click && handlers.*f.click) onClick = handlers.*f.click;
    if (f.onValue && handlers.*f.onValue) onHover = handlers.*f.onValue;
    window->setHandlers(int(id), std::move(onClick), std::move(onHover));
  }
  window->setZOrder([] {
    std::vector<int> order;
    for (const FormControl& f : kForm) order.push_back(int(f.name));
    return order;
  }());
  window->setCloseButton(int(Ctl::图片按钮_退出));
  return true;
}

}  // namespace ui
