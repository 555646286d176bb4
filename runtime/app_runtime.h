// The application run time's process services: exit routines, exit with a
// code, processing pending window events and the message loop.
//
// Everything runs on the one UI thread; nothing here is locked.
#pragma once

using ExitRoutine = void (*)();

// Appends routine to the exit list unless it is already there.
void registerExitRoutine(ExitRoutine routine);

// Runs the exit routines in the order registered, once per process: later
// calls do nothing.
void runExitRoutines();

// Runs the exit routines, releases the run time's own resources and ends the
// process with code. Never returns.
[[noreturn]] void exitProgram(int code);

// Dispatches the window messages already queued, then returns.
void processEvents();

// Dispatches window events until no window of the program is left, then
// performs the same exit processing as exitProgram (routines run once) and
// returns 0.
int runMessageLoop();

// Tells the message loop that a top-level window of the program went away;
// the loop ends when the count of live windows drops to zero.
void noteWindowCreated();
void noteWindowDestroyed();

// Test seam: how the process finally ends (default: the OS exit call).
// A test may record the code and unwind instead.
using ProcessEnd = void (*)(int code);
void setProcessEndForTesting(ProcessEnd end);
// Test seam: forget that the exit routines already ran and clear the list.
void resetExitRoutinesForTesting();
