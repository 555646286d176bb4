#include <windows.h>
#include <shellapi.h>

#include "install/launcher.h"
#include "install/path_utils.h"

namespace {

ShellExecuteWideHook g_hook = nullptr;

const char16_t* wideOrNull(const WideText& w) {
  return w.empty() ? nullptr : reinterpret_cast<const char16_t*>(w.data());
}

}  // namespace

void setShellExecuteWideHookForTesting(ShellExecuteWideHook hook) { g_hook = hook; }

bool runProgram(const Text& path, const Text& parameters, int32_t showIndex) {
  WideText widePath = textToWide(path);
  WideText wideParameters = textToWide(parameters);
  WideText verb = textToWide("Open");
  // One more zero unit, so that empty parameters become an empty wide string
  // rather than no string at all.
  wideParameters.push_back(0);
  wideParameters.push_back(0);
  const char16_t emptyDirectory[1] = {0};
  const int show = showCommandForIndex(showIndex);

  intptr_t result;
  if (g_hook) {
    result = g_hook(wideOrNull(verb), wideOrNull(widePath), wideOrNull(wideParameters),
                    emptyDirectory, show);
  } else {
    result = reinterpret_cast<intptr_t>(ShellExecuteW(
        nullptr, reinterpret_cast<LPCWSTR>(wideOrNull(verb)),
        reinterpret_cast<LPCWSTR>(wideOrNull(widePath)),
        reinterpret_cast<LPCWSTR>(wideOrNull(wideParameters)),
        reinterpret_cast<LPCWSTR>(emptyDirectory), show));
  }
  return result != SE_ERR_FNF;
}
