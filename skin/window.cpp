#include "skin/window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

namespace skin {

Window::Window(int width, int height) : width_(width), height_(height) {
  frame_.resize(width, height);
}

int Window::add(Control control) {
  const int id = int(controls_.size());
  if (control.kind == Kind::TabControl && tab_ < 0) tab_ = id;
  controls_.push_back(std::move(control));
  zOrder_.push_back(id);
  markDirty();
  return id;
}

void Window::setZOrder(std::vector<int> order) {
  zOrder_.clear();
  for (int id : order)
    if (id >= 0 && id < count()) zOrder_.push_back(id);
  markDirty();
}

void Window::setPictures(int id, const std::vector<const Image*>& pictures, PictureFit fit) {
  Control& c = controls_[size_t(id)];
  c.pictures.clear();
  c.pictureX = c.pictureY = 0;
  for (const Image* src : pictures) {
    if (!src || src->empty()) continue;
    int w = c.width, h = c.height;
    if (fit == PictureFit::Fit) {
      // Keep the aspect ratio, never enlarge, centre in the box.
      const double k = std::min({1.0, double(c.width) / src->width, double(c.height) / src->height});
      w = std::max(1, int(src->width * k));
      h = std::max(1, int(src->height * k));
      c.pictureX = (c.width - w) / 2;
      c.pictureY = (c.height - h) / 2;
    }
    if (w == src->width && h == src->height)
      c.pictures.push_back(*src);
    else
      c.pictures.push_back(scaleImage(*src, w, h));
  }
  markDirty();
}

void Window::setHandlers(int id, std::function<void()> onClick, std::function<void(int32_t)> onHover) {
  Control& c = controls_[size_t(id)];
  c.onClick = std::move(onClick);
  c.onHover = std::move(onHover);
}

void Window::setCurrentPage(int page) {
  if (tab_ < 0) return;
  const int last = std::max(controls_[size_t(tab_)].pageCount - 1, 0);
  page = std::clamp(page, 0, last);
  if (page == page_) return;
  page_ = page;
  // A pressed control that left the screen can no longer be clicked.
  if (pressed_ >= 0 && !isShown(pressed_)) pressed_ = -1;
  markDirty();
}

void Window::setPosition(int id, int32_t position) {
  Control& c = controls_[size_t(id)];
  position = std::max(position, c.minimum);
  position = std::min(position, c.maximum);
  if (position == c.position) return;
  c.position = position;
  markDirty();
}

void Window::setText(int id, const std::u16string& text) {
  Control& c = controls_[size_t(id)];
  if (c.text == text) return;
  c.text = text;
  c.textMaskValid = false;
  markDirty();
}

void Window::setTextColor(int id, uint32_t argb) {
  Control& c = controls_[size_t(id)];
  if (c.textColor == argb) return;
  c.textColor = argb;
  markDirty();
}

void Window::setDisabled(int id, bool disabled) {
  Control& c = controls_[size_t(id)];
  if (c.disabled == disabled) return;
  c.disabled = disabled;
  if (disabled) {
    if (pressed_ == id) pressed_ = -1;
    if (hovered_ == id) hovered_ = -1;  // no hover events while disabled
  }
  markDirty();
}

bool Window::isShown(int id) const {
  for (int guard = 0; id >= 0 && guard <= count(); ++guard) {
    const Control& c = controls_[size_t(id)];
    if (!c.visible) return false;
    if (c.page != kNoPage && c.page != page_) return false;
    id = c.parent;
  }
  return true;
}

Rect Window::windowRect(int id) const {
  const Control& c = controls_[size_t(id)];
  Rect r{c.x, c.y, c.width, c.height};
  for (int p = c.parent, guard = 0; p >= 0 && guard <= count(); p = controls_[size_t(p)].parent, ++guard) {
    r.x += controls_[size_t(p)].x;
    r.y += controls_[size_t(p)].y;
  }
  return r;
}

int Window::hitTest(int x, int y) const {
  for (auto it = zOrder_.rbegin(); it != zOrder_.rend(); ++it) {
    const Control& c = controls_[size_t(*it)];
    if (!c.takesMouse || !isShown(*it)) continue;
    if (windowRect(*it).contains(x, y)) return *it;
  }
  return -1;
}

bool Window::isDragSpot(int x, int y) const {
  if (hitTest(x, y) >= 0) return false;
  return tab_ >= 0 && windowRect(tab_).contains(x, y);
}

bool Window::wantsHandCursor(int x, int y) const {
  const int id = hitTest(x, y);
  return id >= 0 && interactive(id) && controls_[size_t(id)].handCursor;
}

bool Window::interactive(int id) const {
  if (id < 0 || id >= count()) return false;
  const Control& c = controls_[size_t(id)];
  return c.takesMouse && !c.disabled && isShown(id);
}

void Window::setHovered(int id) {
  if (id == hovered_) return;
  const int left = hovered_;
  hovered_ = id;
  markDirty();
  // Handlers run with the state already updated: one of them may pump
  // messages and bring nested mouse input here.
  if (left >= 0) {
    auto onHover = controls_[size_t(left)].onHover;
    if (onHover) onHover(0);
  }
  if (id >= 0 && hovered_ == id) {
    auto onHover = controls_[size_t(id)].onHover;
    if (onHover) onHover(1);
  }
}

void Window::mouseMove(int x, int y) {
  const int id = hitTest(x, y);
  setHovered(interactive(id) ? id : -1);
}

void Window::mouseDown(int x, int y) {
  mouseMove(x, y);
  const int id = hitTest(x, y);
  if (!interactive(id)) return;
  pressed_ = id;
  markDirty();
}

void Window::mouseUp(int x, int y) {
  mouseMove(x, y);
  const int id = pressed_;
  if (id < 0) return;
  pressed_ = -1;
  markDirty();
  // A click needs the release over the same control, still clickable.
  if (hitTest(x, y) != id || !interactive(id)) return;
  auto onClick = controls_[size_t(id)].onClick;
  if (onClick) onClick();
}

void Window::mouseLeave() { setHovered(-1); }

void Window::markDirty() {
  if (dirty_) return;
  dirty_ = true;
  if (dirtyListener_) dirtyListener_();
}

const Image& Window::paint() {
  if (dirty_) {
    dirty_ = false;
    render();
    ++redraws_;
  }
  return frame_;
}

int Window::visualState(int id) const {
  const Control& c = controls_[size_t(id)];
  if (c.disabled) return kStateNormal;
  if (pressed_ == id && hovered_ == id) return kStatePressed;
  if (hovered_ == id || pressed_ == id) return kStateHover;
  return kStateNormal;
}

void Window::render() {
  if (frame_.width != width_ || frame_.height != height_) frame_.resize(width_, height_);
  std::fill(frame_.pixels.begin(), frame_.pixels.end(), 0u);
  for (int id : zOrder_)
    if (isShown(id)) drawControl(id);
}

void Window::drawControl(int id) {
  Control& c = controls_[size_t(id)];
  const Rect r = windowRect(id);
  const Image* picture = nullptr;
  if (!c.pictures.empty()) {
    const size_t state = size_t(visualState(id));
    picture = &c.pictures[std::min(state, c.pictures.size() - 1)];
  }
  // A disabled button shows faded so the user sees it cannot be used.
  const int opacity = (c.disabled && (c.kind == Kind::PictureButton || c.kind == Kind::Button))
                          ? c.opacity * 2 / 5
                          : c.opacity;
  switch (c.kind) {
    case Kind::Frame:
      if (picture) {
        if (r.x == 0 && r.y == 0 && picture->width == width_ && picture->height == height_ && opacity >= 255)
          std::memcpy(frame_.pixels.data(), picture->pixels.data(), frame_.pixels.size() * sizeof(uint32_t));
        else
          blendImage(frame_, *picture, r.x, r.y, opacity);
      }
      break;
    case Kind::PictureBox:
    case Kind::PictureButton:
      if (picture) blendImage(frame_, *picture, r.x + c.pictureX, r.y + c.pictureY, opacity);
      break;
    case Kind::Button:
      if (picture) blendImage(frame_, *picture, r.x, r.y, opacity);
      drawText(c, r, 0);
      break;
    case Kind::EditBox:
      if (picture) blendImage(frame_, *picture, r.x, r.y, opacity);
      drawText(c, r, 8);
      break;
    case Kind::Label:
      drawText(c, r, 0);
      break;
    case Kind::ProgressBar:
      drawRing(c, r);
      break;
    case Kind::Window:
    case Kind::TabControl:
    case Kind::Component:
      break;
  }
}

void Window::drawText(Control& c, const Rect& r, int padding) {
  if (c.text.empty()) return;
  if (!c.textMaskValid) {
    rasterizeText(c.text, c.font, &c.textMask);
    c.textMaskValid = true;
  }
  const TextMask& m = c.textMask;
  if (m.width <= 0 || m.height <= 0) return;
  const int innerW = r.width - 2 * padding;
  int x = r.x + padding;
  if (c.hAlign == HAlign::Centre) x += (innerW - m.width) / 2;
  int y = r.y;
  if (c.vAlign == VAlign::Centre) y += (r.height - m.height) / 2;
  blendCoverage(frame_, m.coverage.data(), m.width, m.height, x, y, c.textColor, c.opacity,
                r.x + padding, r.y, r.x + padding + innerW, r.y + r.height);
}

void Window::drawRing(const Control& c, const Rect& r) {
  if (c.pictures.empty()) return;
  blendImage(frame_, c.pictures[0], r.x + c.pictureX, r.y + c.pictureY, c.opacity);
  if (c.pictures.size() < 2 || c.maximum <= c.minimum) return;
  const Image& ring = c.pictures[1];
  const int64_t span = int64_t(c.maximum) - c.minimum;
  const uint32_t limit = uint32_t((int64_t(c.position) - c.minimum) * 65536 / span);
  if (limit == 0) return;
  if (ringAnglesW_ != ring.width || ringAnglesH_ != ring.height) {
    // The clockwise angle of each pixel centre, measured from the top.
    ringAnglesW_ = ring.width;
    ringAnglesH_ = ring.height;
    ringAngles_.resize(size_t(ring.width) * size_t(ring.height));
    const double cx = ring.width / 2.0, cy = ring.height / 2.0;
    const double kTurn = 2 * std::acos(-1.0);
    for (int y = 0; y < ring.height; ++y)
      for (int x = 0; x < ring.width; ++x) {
        double a = std::atan2((x + 0.5) - cx, cy - (y + 0.5));
        if (a < 0) a += kTurn;
        ringAngles_[size_t(y) * size_t(ring.width) + size_t(x)] =
            uint16_t(std::min(65535.0, a / kTurn * 65536.0));
      }
  }
  // The blue ring, masked to the arc 0..position; the full range shows it all.
  const int ox = r.x + c.pictureX, oy = r.y + c.pictureY;
  const uint32_t k = uint32_t(std::clamp(c.opacity, 0, 255));
  for (int y = 0; y < ring.height; ++y) {
    const int fy = oy + y;
    if (fy < 0 || fy >= height_) continue;
    for (int x = 0; x < ring.width; ++x) {
      const int fx = ox + x;
      if (fx < 0 || fx >= width_) continue;
      const size_t i = size_t(y) * size_t(ring.width) + size_t(x);
      const uint32_t p = ring.pixels[i];
      if (p == 0 || (limit < 65536 && ringAngles_[i] >= limit)) continue;
      uint32_t& d = frame_.pixels[size_t(fy) * size_t(width_) + size_t(fx)];
      d = overPixel(d, scalePixel(p, k));
    }
  }
}

}  // namespace skin
