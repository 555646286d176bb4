#include "app/program_handlers.h"

#include "download/progress_display.h"
#include "install/directory_choice.h"
#include "install/install_sequence.h"
#include "install/launcher.h"
#include "manifest/version_gate.h"
#include "ui/window_handlers.h"

FormHandlers programHandlers() {
  FormHandlers h;
  h.onMainWindowCreated = onMainWindowCreated;
  h.onUnzipProgress = onUnzipProgress;
  h.onExitClicked = onExitClicked;
  h.onQuickInstallClicked = onQuickInstallClicked;
  h.onCustomLinkHover = onCustomLinkHover;
  h.onCustomLinkClicked = onCustomLinkClicked;
  h.onCustomInstallClicked = onCustomInstallClicked;
  h.onChooseDirectoryClicked = onChooseDirectoryClicked;
  h.onBackLinkHover = onBackLinkHover;
  h.onBackLinkClicked = onBackLinkClicked;
  h.onRunClicked = onRunClicked;
  return h;
}
