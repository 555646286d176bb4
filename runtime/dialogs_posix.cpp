#include <cstdio>

#include "runtime/codepage.h"
#include "runtime/dialogs.h"

namespace {

MessageBoxHook g_messageBoxHook = nullptr;
ShellExecuteHook g_shellExecuteHook = nullptr;

// The shell's "no association" result.
constexpr intptr_t kNoShell = 31;

}  // namespace

// No dialogs in the native build: the text goes to stderr and nobody can
// answer, so a box with a Cancel button is cancelled.
int showMessageBox(void* owner, const Text& text, const Text& caption, unsigned style) {
  if (g_messageBoxHook) return g_messageBoxHook(owner, text, caption, style);
  std::fprintf(stderr, "[%s] %s\n", textToUtf8(caption).c_str(), textToUtf8(text).c_str());
  return (style & 0xF) == kMbOkCancel ? kIdCancel : kIdOk;
}

intptr_t shellExecute(const Text& verb, const Text& file, int showCommand) {
  if (g_shellExecuteHook) return g_shellExecuteHook(verb, file, showCommand);
  return kNoShell;
}

void setMessageBoxHookForTesting(MessageBoxHook hook) { g_messageBoxHook = hook; }
void setShellExecuteHookForTesting(ShellExecuteHook hook) { g_shellExecuteHook = hook; }
