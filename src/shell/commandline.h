// SPDX-License-Identifier: GPL-3.0-or-later
// The program's command line, read before any window exists: --help and
// --version answer without a display; a start without a display to show the
// window on ends with one line saying so; unknown options get the usage.
#pragma once

struct TStartOptions {
  // Keep the hall of fame in the user's data folder for the program
  // ($XDG_DATA_HOME/<application id>) instead of the current folder.
  bool dataFolder = false;
};

// Reads the options. Returns -1 when the program is to start, otherwise the
// exit status (0 after --help or --version, 2 for a wrong command line, 1
// when there is no display), having printed what the user needs to know.
int ReadCommandLine(int argc, char** argv, TStartOptions& options);

// Makes and enters the user's data folder for the program. False, with a
// line on standard error, when that fails.
bool EnterDataFolder();

// Scales the window by a whole number as the desktop asks: the rounding
// policy for the screen's own factor, and QT_SCALE_FACTOR and
// QT_SCREEN_SCALE_FACTORS rounded the same way (1.25 gives 1, 1.5 gives 2).
// Called before the application is made.
void UseWholeScaleFactors();

// Runs while the application connects to the display: a connection that
// fails ends the program with one line and exit status 1 instead of an
// abort. Ended by the object going out of scope.
class TDisplayGuard {
 public:
  TDisplayGuard();
  ~TDisplayGuard();
  TDisplayGuard(const TDisplayGuard&) = delete;
  TDisplayGuard& operator=(const TDisplayGuard&) = delete;
};
