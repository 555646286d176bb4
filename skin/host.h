// Hosts show a skin::Window: the headless host keeps it off screen (tests,
// native screenshots); the Windows host shows it as a layered popup window.
#pragma once

#include <memory>
#include <string>

#include "skin/window.h"

namespace skin {

class Host {
 public:
  virtual ~Host() = default;
  // Creates the native window (hidden) for window, titled title. The window
  // must outlive the host. False when that failed.
  virtual bool create(Window* window, const std::u16string& className, const std::u16string& title) = 0;
  // Draws what changed and shows the window.
  virtual void show() = 0;
  // Destroys the native window, if any.
  virtual void destroy() = 0;
  // The native handle (HWND), nullptr for the headless host.
  virtual void* nativeHandle() const = 0;
  // Called after the native window is gone (by the user or by destroy()).
  void setDestroyedListener(void (*listener)()) { destroyed_ = listener; }

 protected:
  void (*destroyed_)() = nullptr;
};

// A host with no screen: paints into the window's frame on show() and
// whenever paintNow() is asked for.
class HeadlessHost : public Host {
 public:
  bool create(Window* window, const std::u16string& className, const std::u16string& title) override;
  void show() override;
  void destroy() override;
  void* nativeHandle() const override { return nullptr; }

 private:
  Window* window_ = nullptr;
};

// The host of this platform: the layered window on Windows, headless elsewhere.
std::unique_ptr<Host> makePlatformHost();

}  // namespace skin
