// A stand-in for a product's main program: a plain window titled with the
// program's own file name, so the installer's tests can see which copy runs.
// Each start appends a line to "<program path>.started".
#include <windows.h>

#include <string>

namespace {

const wchar_t kWindowClass[] = L"SampleProductWindow";

std::wstring modulePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    DWORD length = GetModuleFileNameW(nullptr, &path[0], static_cast<DWORD>(path.size()));
    if (length == 0) return std::wstring();
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

// "C:\x\VIduva.exe" -> "VIduva"; the extension goes whatever its letter case.
std::wstring titleFromPath(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  std::wstring name = slash == std::wstring::npos ? path : path.substr(slash + 1);
  if (name.size() > 4 && lstrcmpiW(name.c_str() + name.size() - 4, L".exe") == 0) {
    name.resize(name.size() - 4);
  }
  return name;
}

void recordStart(const std::wstring& path) {
  HANDLE file = CreateFileW((path + L".started").c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  char line[64];
  int length = wsprintfA(line, "started pid=%lu\r\n", GetCurrentProcessId());
  DWORD written = 0;
  WriteFile(file, line, static_cast<DWORD>(length), &written, nullptr);
  CloseHandle(file);
}

LRESULT CALLBACK windowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(window, &paint);
      RECT area;
      GetClientRect(window, &area);
      wchar_t title[256] = {};
      GetWindowTextW(window, title, 256);
      std::wstring text = std::wstring(title) + L" is running";
      DrawTextW(dc, text.c_str(), -1, &area, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    default:
      return DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
  std::wstring path = modulePath();
  recordStart(path);

  WNDCLASSW windowClass = {};
  windowClass.lpfnWndProc = windowProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  windowClass.lpszClassName = kWindowClass;
  if (!RegisterClassW(&windowClass)) return 1;

  HWND window = CreateWindowExW(0, kWindowClass, titleFromPath(path).c_str(), WS_OVERLAPPEDWINDOW,
                                CW_USEDEFAULT, CW_USEDEFAULT, 480, 320, nullptr, nullptr, instance,
                                nullptr);
  if (!window) return 1;
  // The launcher's show command decides (a plain start gives a normal window),
  // so tests can see which one was passed.
  ShowWindow(window, showCommand);
  UpdateWindow(window);

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}
