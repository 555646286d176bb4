// The handler table of the shipped program: every event of the main window
// bound to the routine that serves it.
#pragma once

#include "ui/main_window.h"

FormHandlers programHandlers();
