#include "download/progress_display.h"

#include <cstdint>

#include "runtime/app_runtime.h"
#include "ui/main_window.h"

namespace {

// Truncates toward zero. A quotient beyond the 32-bit range (a server that
// sends far more than it announced) saturates instead of overflowing.
int32_t truncateToInt32(double value) {
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  return int32_t(value);
}

// The text's value by the run time's rule; a missing text counts as 0.
int64_t valueOfText(intptr_t address) {
  const char* text = reinterpret_cast<const char*>(address);
  return text ? textToInt64(text) : 0;
}

intptr_t showDownloadProgress(intptr_t totalText, intptr_t receivedText, double stageOffset) {
  // Once per chunk: keeps the window painting and answering during the download.
  processEvents();
  const int64_t total = valueOfText(totalText);
  const int64_t received = valueOfText(receivedText);
  // The server reported no length: the bar stays at the stage's start.
  const int32_t percent = total == 0 ? 0 : truncateToInt32(double(received) * 100.0 / double(total));
  // The bar clamps anything past its range; the label follows what it shows.
  ui::setProgressPosition(truncateToInt32(double(percent) + stageOffset));
  const int32_t position = ui::progressPosition();
  ui::setLabelText(Ctl::标签_进度, decimalText(truncateToInt32(double(position) / 3.0)) + "%");
  return 0;
}

}  // namespace

intptr_t INSTALLER_WNDPROC_CC onDownloadProgress1(intptr_t totalText, intptr_t receivedText,
                                                  intptr_t, intptr_t) {
  return showDownloadProgress(totalText, receivedText, 0.0);
}

intptr_t INSTALLER_WNDPROC_CC onDownloadProgress2(intptr_t totalText, intptr_t receivedText,
                                                  intptr_t, intptr_t) {
  return showDownloadProgress(totalText, receivedText, 100.0);
}

intptr_t INSTALLER_WNDPROC_CC onDownloadProgress3(intptr_t totalText, intptr_t receivedText,
                                                  intptr_t, intptr_t) {
  return showDownloadProgress(totalText, receivedText, 200.0);
}

void onUnzipProgress(int32_t value) {
  ui::setProgressPosition(value);
  const int32_t position = ui::progressPosition();
  ui::setLabelText(Ctl::标签_进度, decimalText(position) + "%");
}
