// The Windows host: a layered popup window with no caption or border, shown
// through UpdateLayeredWindow with per-pixel alpha, fed with mouse input.
#include <windows.h>

#include <cstring>

#include "skin/host.h"

namespace skin {
namespace {

// Posted once each time the skinned window goes dirty: the repaint then
// happens when the queue is next pumped, after every change of that moment.
constexpr UINT kRepaintMessage = WM_APP + 0x51;

const wchar_t* wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

struct ScreenDc {
  HDC dc = GetDC(nullptr);
  ~ScreenDc() { if (dc) ReleaseDC(nullptr, dc); }
};

// The 32-bit top-down DIB section the frame is copied into for
// UpdateLayeredWindow, with the memory DC that holds it selected.
class LayerSurface {
 public:
  ~LayerSurface() { release(); }
  bool ensure(int w, int h) {
    if (dc_ && w == w_ && h == h_) return true;
    release();
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    bi.bmiHeader.biCompression = BI_RGB;
    dc_ = CreateCompatibleDC(nullptr);
    if (!dc_) return false;
    bitmap_ = CreateDIBSection(dc_, &bi, DIB_RGB_COLORS, &bits_, nullptr, 0);
    if (!bitmap_ || !bits_) {
      release();
      return false;
    }
    old_ = SelectObject(dc_, bitmap_);
    w_ = w;
    h_ = h;
    return true;
  }
  HDC dc() const { return dc_; }
  void* bits() const { return bits_; }

 private:
  void release() {
    if (dc_ && old_) SelectObject(dc_, old_);
    if (bitmap_) DeleteObject(bitmap_);
    if (dc_) DeleteDC(dc_);
    dc_ = nullptr;
    bitmap_ = nullptr;
    old_ = nullptr;
    bits_ = nullptr;
    w_ = h_ = 0;
  }
  HDC dc_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ old_ = nullptr;
  void* bits_ = nullptr;
  int w_ = 0, h_ = 0;
};

class LayeredHost : public Host {
 public:
  ~LayeredHost() override { destroy(); }

  bool create(Window* window, const std::u16string& className, const std::u16string& title) override {
    window_ = window;
    className_ = className;
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &LayeredHost::windowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.lpszClassName = wide(className_);
    // No CS_DBLCLKS: the second press of a double click stays a press and
    // gives its own click.
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;
    // Centred on the screen.
    const int x = (GetSystemMetrics(SM_CXSCREEN) - window->width()) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - window->height()) / 2;
    hwnd_ = CreateWindowExW(WS_EX_LAYERED, wide(className_), wide(title), WS_POPUP, x, y,
                            window->width(), window->height(), nullptr, nullptr, instance, this);
    if (!hwnd_) return false;
    window_->setDirtyListener([this] { scheduleRepaint(); });
    return true;
  }

  void show() override {
    if (!hwnd_) return;
    present();
    ShowWindow(hwnd_, SW_SHOW);
    SetForegroundWindow(hwnd_);
  }

  void destroy() override {
    if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
    if (window_) window_->setDirtyListener(nullptr);
    window_ = nullptr;
  }

  void* nativeHandle() const override { return hwnd_; }

 private:
  void scheduleRepaint() {
    if (!hwnd_ || repaintPosted_) return;
    repaintPosted_ = PostMessageW(hwnd_, kRepaintMessage, 0, 0) != 0;
  }

  // Draws the frame if something changed and hands it to the compositor.
  void present() {
    if (!window_ || !hwnd_) return;
    const bool first = !presentedOnce_;
    if (!window_->dirty() && !first) return;
    const Image& frame = window_->paint();
    if (!surface_.ensure(frame.width, frame.height)) return;
    std::memcpy(surface_.bits(), frame.pixels.data(), frame.pixels.size() * sizeof(uint32_t));
    ScreenDc screen;
    SIZE size{frame.width, frame.height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (UpdateLayeredWindow(hwnd_, screen.dc, nullptr, &size, surface_.dc(), &source, 0, &blend, ULW_ALPHA))
      presentedOnce_ = true;
  }

  void trackLeave() {
    if (tracking_) return;
    TRACKMOUSEEVENT tme{};
    tme.cbSize = sizeof tme;
    tme.dwFlags = TME_LEAVE;
    tme.hwndTrack = hwnd_;
    tracking_ = TrackMouseEvent(&tme) != 0;
  }

  static int xOf(LPARAM lp) { return int(short(LOWORD(lp))); }
  static int yOf(LPARAM lp) { return int(short(HIWORD(lp))); }

  LRESULT handle(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case kRepaintMessage:
        repaintPosted_ = false;
        present();
        return 0;
      case WM_PAINT: {
        PAINTSTRUCT ps;
        BeginPaint(hwnd_, &ps);
        EndPaint(hwnd_, &ps);
        present();
        return 0;
      }
      case WM_ERASEBKGND:
        return 1;
      case WM_MOUSEMOVE:
        trackLeave();
        if (window_) window_->mouseMove(xOf(lp), yOf(lp));
        return 0;
      case WM_LBUTTONDOWN:
      case WM_LBUTTONDBLCLK:
        if (!window_) return 0;
        if (window_->isDragSpot(xOf(lp), yOf(lp))) {
          // Let the system move the window, as if the card were a caption.
          ReleaseCapture();
          SendMessageW(hwnd_, WM_NCLBUTTONDOWN, HTCAPTION, 0);
          return 0;
        }
        SetCapture(hwnd_);
        window_->mouseDown(xOf(lp), yOf(lp));
        return 0;
      case WM_LBUTTONUP:
        // Capture goes first: the click handler may run for long and pump.
        if (GetCapture() == hwnd_) ReleaseCapture();
        if (window_) window_->mouseUp(xOf(lp), yOf(lp));
        return 0;
      case WM_MOUSELEAVE:
        tracking_ = false;
        if (window_ && GetCapture() != hwnd_) window_->mouseLeave();
        return 0;
      case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT && window_) {
          POINT pt;
          GetCursorPos(&pt);
          ScreenToClient(hwnd_, &pt);
          LPCWSTR id = reinterpret_cast<LPCWSTR>(window_->wantsHandCursor(pt.x, pt.y) ? IDC_HAND : IDC_ARROW);
          SetCursor(LoadCursorW(nullptr, id));
          return TRUE;
        }
        break;
      case WM_CLOSE:
        // Alt+F4 and the taskbar's close ask the way the close button does,
        // and only when it could be clicked: never in the middle of an install.
        if (closeRequest()) return 0;
        break;
      case WM_DESTROY:
        if (destroyed_) destroyed_();
        return 0;
      case WM_NCDESTROY:
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        hwnd_ = nullptr;
        return DefWindowProcW(hwnd, msg, wp, lp);
      default:
        break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
  }

  // True when the close request was handled by the window's close button
  // (or refused because it is disabled); false to let the window close.
  bool closeRequest() {
    if (!window_) return false;
    const int id = window_->closeButton();
    if (id < 0 || !window_->control(id).onClick) return false;
    if (window_->control(id).disabled || !window_->isShown(id)) return true;
    auto onClick = window_->control(id).onClick;
    onClick();
    return true;
  }

  static LRESULT CALLBACK windowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
      auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
      auto* self = static_cast<LayeredHost*>(cs->lpCreateParams);
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    auto* self = reinterpret_cast<LayeredHost*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->handle(hwnd, msg, wp, lp);
  }

  Window* window_ = nullptr;
  HWND hwnd_ = nullptr;
  std::u16string className_;
  LayerSurface surface_;
  bool repaintPosted_ = false;
  bool presentedOnce_ = false;
  bool tracking_ = false;
};

}  // namespace

std::unique_ptr<Host> makePlatformHost() { return std::make_unique<LayeredHost>(); }

}  // namespace skin
