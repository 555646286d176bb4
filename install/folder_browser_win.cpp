// The Windows folder dialog, with texts converted by code page 936 so that
// Chinese titles and paths read correctly on a Windows of any locale.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "install/folder_browser.h"
#include "runtime/codepage.h"
#include "runtime/scoped_handle_win.h"

namespace {

// The dialog needs COM on this thread; balances only a successful start.
class ComApartment {
 public:
  ComApartment() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComApartment() {
    if (started_) CoUninitialize();
  }
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;

 private:
  bool started_;
};

// The folder browser's item list, freed with the COM allocator.
struct ItemIdListTraits {
  using Handle = LPITEMIDLIST;
  static Handle invalid() { return nullptr; }
  static bool close(Handle h) {
    CoTaskMemFree(h);
    return true;
  }
};

}  // namespace

Text showFolderDialog(const Text& title) {
  ComApartment com;
  const std::u16string wideTitle = gbkToUtf16(title);
  BROWSEINFOW info = {};
  info.hwndOwner = GetActiveWindow();
  info.pidlRoot = nullptr;  // the desktop
  info.lpszTitle = reinterpret_cast<LPCWSTR>(wideTitle.c_str());
  info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX;
  ScopedHandle<ItemIdListTraits> chosen(SHBrowseForFolderW(&info));
  if (!chosen.get()) return Text();
  wchar_t path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) return Text();
  return folderPathToText(std::u16string(reinterpret_cast<const char16_t*>(path)));
}
