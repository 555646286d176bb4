#include <windows.h>
#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

#include "runtime/codepage.h"
#include "runtime/shortcut.h"

namespace {

std::wstring wide(const Text& text) {
  std::u16string w = gbkToUtf16(text);
  return std::wstring(w.begin(), w.end());
}

// Releases a COM interface when it goes out of scope.
template <typename T>
class ComPtr {
 public:
  ComPtr() = default;
  ~ComPtr() {
    if (p_) p_->Release();
  }
  ComPtr(const ComPtr&) = delete;
  ComPtr& operator=(const ComPtr&) = delete;
  T** out() { return &p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

 private:
  T* p_ = nullptr;
};

// COM for this thread, for as long as the object lives. A second
// initialisation on the same thread is harmless (S_FALSE) and balanced.
class ComScope {
 public:
  ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(hr_)) CoUninitialize();
  }

 private:
  HRESULT hr_;
};

}  // namespace

bool createShortcut(const Text& linkName, const Text& targetPath) {
  ComScope com;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.out()))))
    return false;
  if (FAILED(link->SetPath(wide(targetPath).c_str()))) return false;
  link->SetShowCmd(SW_SHOW);
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))))
    return false;
  return SUCCEEDED(file->Save(wide(linkName + ".lnk").c_str(), TRUE));
}

Text shortcutTarget(const Text& linkPath) {
  ComScope com;
  ComPtr<IShellLinkW> link;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                              reinterpret_cast<void**>(link.out()))))
    return {};
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.out()))))
    return {};
  if (FAILED(file->Load(wide(linkPath).c_str(), STGM_READ))) return {};
  // The item list holds the target's names in UTF-16; the plain path of the
  // link may have gone through the system's ANSI code page.
  wchar_t target[MAX_PATH * 2] = {};
  LPITEMIDLIST items = nullptr;
  if (SUCCEEDED(link->GetIDList(&items)) && items) {
    BOOL ok = SHGetPathFromIDListW(items, target);
    CoTaskMemFree(items);
    if (!ok) target[0] = 0;
  }
  if (!target[0] &&
      FAILED(link->GetPath(target, int(sizeof target / sizeof target[0]), nullptr, SLGP_RAWPATH)))
    return {};
  std::wstring w(target);
  return utf16ToGbk(std::u16string(w.begin(), w.end()));
}
