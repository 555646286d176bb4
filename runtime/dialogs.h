// Message boxes and shell requests of the run time, with seams for tests.
//
// Texts are GBK and are converted with code page 936 before the wide Windows
// call, so they read correctly on a Windows of any locale.
#pragma once

#include <cstdint>

#include "runtime/text.h"

// Message box styles and answers used by the program (Windows values).
constexpr unsigned kMbOk = 0x0;
constexpr unsigned kMbOkCancel = 0x1;
constexpr unsigned kMbIconWarning = 0x30;  // 48
constexpr unsigned kMbTaskModal = 0x2000;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;

// Shows a task-modal message box (kMbTaskModal is added to style) owned by
// owner (a window handle, or nullptr for none) and returns the answer.
int showMessageBox(void* owner, const Text& text, const Text& caption, unsigned style);

// The shell's verb on file (ShellExecuteW, parameters and directory empty).
// Returns the shell's result value (above 32 on success).
intptr_t shellExecute(const Text& verb, const Text& file, int showCommand);

// Test seams. A hook, when set, is called instead of the real dialog or shell
// call and its answer returned.
using MessageBoxHook = int (*)(void* owner, const Text& text, const Text& caption, unsigned style);
void setMessageBoxHookForTesting(MessageBoxHook hook);
using ShellExecuteHook = intptr_t (*)(const Text& verb, const Text& file, int showCommand);
void setShellExecuteHookForTesting(ShellExecuteHook hook);
