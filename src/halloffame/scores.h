// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame: at most 100 named players with their scrambled
// passwords, levels and last playing dates, ranked by total score; the score
// file "ZamScores" that keeps them between runs; and the window listing them.
// The record format lives in scorerecord, the table and its ranking in
// ranking, the merge of a save in merge, the file on disk in scorestore,
// rewrite and keptaside, the window in scoreform.
#pragma once

#include <QString>
#include <csignal>
#include <cstdint>

#include "halloffame/ranking.h"
#include "halloffame/scoreform.h"
#include "halloffame/scorerecord.h"

class QComboBox;
class QMessageBox;
class QWidget;

constexpr const char* kScoreFile = "ZamScores";

// Reads the score file (completing first a rewrite another copy left cut
// short); also fills the name list.
bool LoadHallOfFame();
// Saves under the lock: the file is read again, merged with this run's
// results and written. Whatever makes it fail, this run's results are kept
// aside for a later save.
bool SaveHallOfFame();
// For tests: called in a save after the new file is written and before it
// replaces the old one; returning true ends the save there, as if the
// program had been killed at that point.
extern bool (*SaveInterruption)();
// How long a save waits for another copy's lock on the file before it keeps
// this run's results beside the file instead (milliseconds).
extern int LockWaitMilliseconds;
// Counts the requests to end the program; a save waiting for the lock stops
// waiting when it goes up. Raised from a signal handler.
extern volatile std::sig_atomic_t SaveStopRequests;
// What the player should know at start, in Dutch: why this run's results
// will not be saved, and results an earlier run had to keep aside; empty
// when there is nothing to say. Known once the file has been loaded.
QString HallOfFameWarning();
// Shows that text in a message box over the window (not waiting for it to
// be closed); null when there is nothing to say.
QMessageBox* WarnAboutHallOfFame(QWidget* window);
// An empty table as at program start, with nothing loaded, nothing said
// yet and the save's settings as they start (for tests, which each start
// from scratch).
void ResetHallOfFame();
// The result of a finished game of a named player: the name and password as
// typed, the levels packed three bits a game.
void RecordResult(const QString& name, const QString& password, uint32_t levels);
// Fills NameListBox with the names of the table, sorted.
void FillNameList();
void ShowHallOfFame();  // the hall-of-fame window, modal

// The combo box that lists the players' names (set by the main window).
extern QComboBox* NameListBox;
