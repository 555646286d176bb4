// Test program for the single-instance guard (test programs may read their
// command line): guard_probe NAME TAG SERVER OUTFILE [window]
//   NAME    instance name, "-" for an empty one
//   TAG     sent to the server after the guard let this copy run
//   OUTFILE lines: "message ..." when the guard spoke, "running", "ready"
//   window  open a minimised window titled TAG before saying "ready"
// It then waits until it is ended.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "app/single_instance.h"
#include "runtime/codepage.h"
#include "runtime/dialogs.h"
#include "runtime/http_read.h"

namespace {

const char* g_outFile = nullptr;
const wchar_t kWindowClass[] = L"GuardProbeWindow";

void say(const std::string& line) {
  if (FILE* f = std::fopen(g_outFile, "ab")) {
    std::fprintf(f, "%s\n", line.c_str());
    std::fclose(f);
  }
}

// Answers the guard's message box and notes whether any probe window was
// still minimised when the message came (it must come first).
int answerBox(void*, const Text& text, const Text& caption, unsigned style) {
  HWND other = FindWindowW(kWindowClass, nullptr);
  say("message " + textToUtf8(caption) + "|" + textToUtf8(text) + "|" + std::to_string(style) +
      (other ? (IsIconic(other) ? " other-iconic" : " other-restored") : " no-other"));
  return kIdOk;
}

void openMinimisedWindow(const std::string& title) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kWindowClass;
  RegisterClassW(&wc);
  std::wstring wideTitle(title.begin(), title.end());
  HWND w = CreateWindowExW(0, kWindowClass, wideTitle.c_str(), WS_OVERLAPPEDWINDOW, 10, 10, 200,
                           100, nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(w, SW_SHOWMINIMIZED);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 5) return 2;
  const Text name = std::strcmp(argv[1], "-") == 0 ? Text() : Text(argv[1]);
  const std::string tag = argv[2], server = argv[3];
  g_outFile = argv[4];
  const bool window = argc > 5 && std::strcmp(argv[5], "window") == 0;

  setMessageBoxHookForTesting(answerBox);
  guardSingleInstance(name, gbk("请勿重复运行本程序，如程序未响应请尝试重启电脑！"), kMbIconWarning);
  say("running");
  httpReadWhole("http://" + server + "/vrk/azq.txt?copy=" + tag);
  if (window) openMinimisedWindow(tag);
  say("ready");
  for (int i = 0; i < 6000; ++i) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    Sleep(10);
  }
  return 3;
}
