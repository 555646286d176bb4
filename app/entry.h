// The program's spine: the entry routine and the exit clean-up.
#pragma once

#include "ui/main_window.h"

// Creates the DownloadTask, registers exitCleanup, sets the code page, loads
// the main window with handlers (its creation handler may end the process)
// and runs the message loop. Returns 0 when no window is left.
int entryRoutine(const FormHandlers& handlers);

// Destroys the DownloadTask and releases every text of InstallState.
// Registered with the run time, which calls it once on every way out.
void exitCleanup();

// How often exitCleanup has run in this process (tests).
int exitCleanupRunsForTesting();
