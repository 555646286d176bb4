// The Windows folder dialog, with texts converted by code page 936 so that
// Chinese titles and paths read correctly on a Windows of any locale.
#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include "install/folder_browser.h"
#include "runtime/codepage.h"

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

class ItemIdList {
 public:
  explicit ItemIdList(LPITEMIDLIST list) : list_(list) {}
  ~ItemIdList() {
    if (list_) CoTaskMemFree(list_);
  }
  ItemIdList(const ItemIdList&) = delete;
  ItemIdList& operator=(const ItemIdList&) = delete;
  LPITEMIDLIST get() const { return list_; }

 private:
  LPITEMIDLIST list_;
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
  ItemIdList chosen(SHBrowseForFolderW(&info));
  if (!chosen.get()) return Text();
  wchar_t path[MAX_PATH + 1] = {};
  if (!SHGetPathFromIDListW(chosen.get(), path)) return Text();
  return folderPathToText(std::u16string(reinterpret_cast<const char16_t*>(path)));
}
