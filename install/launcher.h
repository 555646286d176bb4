// Launching the installed program from the finished page.
#pragma once

#include <cstdint>

#include "runtime/text.h"

// Show index -> show command: 0 normal, 1 hidden, 2 minimised without
// activation, 3 maximised; anything else normal.
int showCommandForIndex(int32_t showIndex);

// Opens path with the shell's "Open" verb and parameters (both GBK, turned
// into UTF-16 with code page 936). False only when the shell reports the file
// as not found (2); every other answer counts as success.
bool runProgram(const Text& path, const Text& parameters, int32_t showIndex);

// Click of 按钮_运行: starts installedProgramPath in a normal window and ends
// the installer with 0 whatever the result.
void onRunClicked();

// Test seam: replaces ShellExecuteW. Arguments are the wide texts exactly as
// they would be passed (file may be null).
using ShellExecuteWideHook = intptr_t (*)(const char16_t* verb, const char16_t* file,
                                          const char16_t* parameters, const char16_t* directory,
                                          int showCommand);
void setShellExecuteWideHookForTesting(ShellExecuteWideHook hook);
