#include "app/entry.h"

#include "app/install_state.h"
#include "download/download_task.h"
#include "runtime/app_runtime.h"
#include "runtime/codepage.h"

namespace {

int g_cleanupRuns = 0;

// Assigning an empty Text is not enough to give the memory back; swapping
// with a fresh one is.
void release(Text& text) { Text().swap(text); }

}  // namespace

void exitCleanup() {
  ++g_cleanupRuns;
  InstallState& s = installState();
  if (s.downloadTask) {
    s.downloadTask->destroy();
    delete s.downloadTask;
    s.downloadTask = nullptr;
  }
  for (Text* t : {&s.serverHost, &s.customDir, &s.mainProgramUrl, &s.brandName,
                  &s.installedProgramPath, &s.defaultDir, &s.installerVersion,
                  &s.serverInstallerVersion, &s.productCode, &s.updateUrl, &s.updatePrompt})
    release(*t);
}

int exitCleanupRunsForTesting() { return g_cleanupRuns; }

int entryRoutine(const FormHandlers& handlers) {
  InstallState& s = installState();
  s.downloadTask = new DownloadTask();
  registerExitRoutine(exitCleanup);
  s.codePage = kGbkCodePage;
  ui::loadMainWindow(handlers);
  return runMessageLoop();
}
