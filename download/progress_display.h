// The install progress display: the progress bar 进度条EX1 (0..300) and the
// percent label 标签_进度 on the installing page. The three downloads fill one
// hundred steps each; unpacking later drives the same bar and label.
// Nothing is remembered between calls.
#pragma once

#include <cstdint>

#include "download/download_task.h"

// The progress routines of the three download stages (offsets 0, 100, 200).
// They read only totalText and receivedText and always return 0.
intptr_t INSTALLER_WNDPROC_CC onDownloadProgress1(intptr_t totalText, intptr_t receivedText,
                                                  intptr_t elapsedMs, intptr_t runText);
intptr_t INSTALLER_WNDPROC_CC onDownloadProgress2(intptr_t totalText, intptr_t receivedText,
                                                  intptr_t elapsedMs, intptr_t runText);
intptr_t INSTALLER_WNDPROC_CC onDownloadProgress3(intptr_t totalText, intptr_t receivedText,
                                                  intptr_t elapsedMs, intptr_t runText);

// The ZIP component's progress event: value is the archive's own percentage
// (0..100), shown as it is.
void onUnzipProgress(int32_t value);
