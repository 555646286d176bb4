#include <windows.h>
#include <shellapi.h>

#include "runtime/codepage.h"
#include "runtime/dialogs.h"

namespace {

MessageBoxHook g_messageBoxHook = nullptr;
ShellExecuteHook g_shellExecuteHook = nullptr;

// GBK -> UTF-16 with code page 936, NUL-terminated for the wide calls.
std::wstring wide(const Text& text) {
  const std::u16string w = gbkToUtf16(text);
  return std::wstring(w.begin(), w.end());
}

}  // namespace

int showMessageBox(void* owner, const Text& text, const Text& caption, unsigned style) {
  if (g_messageBoxHook) return g_messageBoxHook(owner, text, caption, style);
  return MessageBoxW(static_cast<HWND>(owner), wide(text).c_str(), wide(caption).c_str(),
                     style | kMbTaskModal);
}

intptr_t shellExecute(const Text& verb, const Text& file, int showCommand) {
  if (g_shellExecuteHook) return g_shellExecuteHook(verb, file, showCommand);
  HINSTANCE result = ShellExecuteW(nullptr, wide(verb).c_str(), wide(file).c_str(), nullptr,
                                   nullptr, showCommand);
  return reinterpret_cast<intptr_t>(result);
}

void setMessageBoxHookForTesting(MessageBoxHook hook) { g_messageBoxHook = hook; }
void setShellExecuteHookForTesting(ShellExecuteHook hook) { g_shellExecuteHook = hook; }
