#include "skin/host.h"

namespace skin {

bool HeadlessHost::create(Window* window, const std::u16string&, const std::u16string&) {
  window_ = window;
  return window_ != nullptr;
}

void HeadlessHost::show() {
  if (window_) window_->paint();
}

void HeadlessHost::destroy() {
  if (!window_) return;
  window_ = nullptr;
  if (destroyed_) destroyed_();
}

}  // namespace skin
