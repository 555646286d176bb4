// The skinned window: its controls, pages, mouse dispatch and drawing, all
// portable. A host (headless, or the layered Windows window) feeds it mouse
// input and shows the frame it draws.
//
// Controls are addressed by id, the index they were added under; drawing and
// hit-testing follow a separate z-order, the order given by setZOrder (by
// default the order of adding).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "skin/glyphs.h"
#include "skin/image.h"

namespace skin {

enum class Kind {
  Window,        // the window itself: draws nothing
  Frame,         // the skinned frame: draws the window's background picture
  TabControl,    // page container: draws nothing, no tab strip
  PictureBox,
  Label,
  Button,
  PictureButton,
  ProgressBar,   // drawn as a ring from two pictures: track, then progress
  EditBox,
  Component,     // non-visual (the ZIP component's slot)
};

enum class HAlign { Left, Centre };
enum class VAlign { Top, Centre };
// How a picture box lays out its picture: stretched over the box, or scaled
// down (never up) to fit and centred.
enum class PictureFit { Fill, Fit };

// Visual states; a control with fewer pictures uses its last one for the
// states beyond.
enum VisualState { kStateNormal = 0, kStateHover = 1, kStatePressed = 2 };

constexpr int kNoPage = -1;    // lies on the window, seen on every page
constexpr int kNoParent = -1;  // placed in the window's client area

struct Control {
  Kind kind = Kind::Label;
  std::string name;  // UTF-8, for diagnostics
  int x = 0, y = 0, width = 0, height = 0;  // relative to the parent
  int page = kNoPage;
  int parent = kNoParent;
  std::u16string text;
  FontSpec font;
  uint32_t textColor = 0xFF000000;
  HAlign hAlign = HAlign::Left;
  VAlign vAlign = VAlign::Top;
  int opacity = 255;
  bool takesMouse = false;
  bool handCursor = false;
  bool disabled = false;
  bool visible = true;
  std::function<void()> onClick;
  std::function<void(int32_t)> onHover;
  int32_t minimum = 0, maximum = 0, position = 0;  // progress bar
  int pageCount = 0;                               // tab control

  // Pictures ready to draw: already scaled to the control, with their offset.
  std::vector<Image> pictures;
  int pictureX = 0, pictureY = 0;

  // Cache of the rasterised text; rebuilt when text or font change.
  TextMask textMask;
  bool textMaskValid = false;
};

struct Rect {
  int x = 0, y = 0, width = 0, height = 0;
  bool contains(int px, int py) const { return px >= x && py >= y && px < x + width && py < y + height; }
};

class Window {
 public:
  Window(int width, int height);

  int width() const { return width_; }
  int height() const { return height_; }

  // Adds a control and returns its id. Its parent must be added first.
  int add(Control control);
  int count() const { return int(controls_.size()); }
  const Control& control(int id) const { return controls_[size_t(id)]; }
  // Back-to-front drawing order; ids not listed are not drawn or hit.
  void setZOrder(std::vector<int> order);

  // Decodes nothing: takes decoded pictures, scales them to the control as
  // fit says and keeps them for drawing.
  void setPictures(int id, const std::vector<const Image*>& pictures, PictureFit fit = PictureFit::Fill);
  void setHandlers(int id, std::function<void()> onClick, std::function<void(int32_t)> onHover);
  // The control whose click stands for closing the window (the host routes
  // the system's close request to it); -1 for none.
  void setCloseButton(int id) { closeButton_ = id; }
  int closeButton() const { return closeButton_; }

  // The tab control's page (the first tab control added): clamped to its
  // page range; controls of other pages are hidden.
  void setCurrentPage(int page);
  int currentPage() const { return page_; }

  // Progress bar: clamped to minimum..maximum; storing the same value again
  // changes nothing and draws nothing.
  void setPosition(int id, int32_t position);
  int32_t position(int id) const { return controls_[size_t(id)].position; }

  void setText(int id, const std::u16string& text);
  const std::u16string& text(int id) const { return controls_[size_t(id)].text; }
  void setTextColor(int id, uint32_t argb);
  void setDisabled(int id, bool disabled);

  // Whether the control is on screen: visible itself, on the current page
  // (or on none), and its parent shown.
  bool isShown(int id) const;
  Rect windowRect(int id) const;  // in window coordinates

  // The topmost shown control under (x, y) that takes mouse input, disabled
  // or not; -1 when only decorations or nothing lie there.
  int hitTest(int x, int y) const;
  // A press here may drag the window: it is on the card (the tab control's
  // area) and no control that takes the mouse lies there.
  bool isDragSpot(int x, int y) const;
  // Whether the mouse over (x, y) should show the hand cursor.
  bool wantsHandCursor(int x, int y) const;

  // Mouse input in window coordinates.
  void mouseMove(int x, int y);
  void mouseDown(int x, int y);
  void mouseUp(int x, int y);
  void mouseLeave();
  int hovered() const { return hovered_; }
  int pressed() const { return pressed_; }

  // Drawing. Every visible change marks the window dirty; paint() draws only
  // when dirty, so repeated paints without a change cost nothing.
  bool dirty() const { return dirty_; }
  const Image& paint();
  const Image& frame() const { return frame_; }
  uint64_t redrawCount() const { return redraws_; }
  // Called once each time the window goes from clean to dirty: the host
  // schedules its next paint there.
  void setDirtyListener(std::function<void()> listener) { dirtyListener_ = std::move(listener); }

 private:
  bool interactive(int id) const;
  int visualState(int id) const;
  void markDirty();
  void setHovered(int id);
  void render();
  void drawControl(int id);
  void drawText(Control& c, const Rect& r, int padding);
  void drawRing(const Control& c, const Rect& r);

  int width_, height_;
  std::vector<Control> controls_;
  std::vector<int> zOrder_;
  int tab_ = -1;
  int closeButton_ = -1;
  int page_ = 0;
  int hovered_ = -1;
  int pressed_ = -1;
  bool dirty_ = true;
  uint64_t redraws_ = 0;
  Image frame_;
  std::function<void()> dirtyListener_;
  // Per ring pixel: its clockwise angle from the top, in 1/65536 turns.
  std::vector<uint16_t> ringAngles_;
  int ringAnglesW_ = 0, ringAnglesH_ = 0;
};

}  // namespace skin
