// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame: at most 100 named players with their scrambled
// passwords, levels and last playing dates, ranked by total score; the score
// file "ZamScores" that keeps them between runs; and the window listing them.
// The record format lives in scorerecord, the table and its ranking in
// ranking, the merge of a save in merge, the file on disk in scorestore,
// rewrite and keptaside, the window in scoreform.
#pragma once

#include <QString>
#include <QStringList>
#include <csignal>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "halloffame/ranking.h"
#include "halloffame/rewrite.h"
#include "halloffame/scorerecord.h"
#include "halloffame/scorestore.h"

class QMessageBox;
class QWidget;

constexpr const char* kScoreFile = "ZamScores";

// Counts the requests to end the program; a save waiting for the lock stops
// waiting when it goes up. Raised from a signal handler, so it cannot be a
// member of any object.
extern volatile std::sig_atomic_t SaveStopRequests;

// One run's hall of fame: the table, what was loaded into it, what a save
// must know, and who hears of its list of names. It starts as the program
// does: an empty table, nothing loaded, nothing said yet.
class THallOfFame {
 public:
  THallOfFame() = default;
  THallOfFame(const THallOfFame&) = delete;
  THallOfFame& operator=(const THallOfFame&) = delete;
  // A fresh hall of fame takes the place of this one (a new start).
  THallOfFame(THallOfFame&&) = default;
  THallOfFame& operator=(THallOfFame&&) = default;

  // How a save behaves; tests change them.
  struct TSaveSettings {
    // Called after the new file is written and before it replaces the old
    // one; returning true ends the save there, as if the program had been
    // killed at that point.
    bool (*interruption)() = nullptr;
    // How long a save waits for another copy's lock on the file before it
    // keeps this run's results beside the file instead (milliseconds): a
    // few seconds, long enough for another copy's save.
    int lockWaitMilliseconds = 5000;
    // A step of a rewrite in place that fails.
    scorestore::TRewriteFault rewriteFault;
  };
  TSaveSettings& SaveSettings() { return settings_; }

  // Reads the score file (completing first a rewrite another copy left cut
  // short); the listener hears the names.
  bool Load();
  // Saves under the lock: the file is read again, merged with this run's
  // results and written. Whatever makes it fail, this run's results are kept
  // aside for a later save.
  bool Save();
  // What the player should know at start, in Dutch: why this run's results
  // will not be saved, and results an earlier run had to keep aside; empty
  // when there is nothing to say. Known once the file has been loaded.
  QString Warning() const;
  // Shows that text in a message box over the window (not waiting for it to
  // be closed); null when there is nothing to say.
  QMessageBox* WarnAbout(QWidget* window) const;
  // The result of a finished game of a named player: the name and password
  // as typed, the levels packed three bits a game; the listener hears the
  // names.
  void RecordResult(const QString& name, const QString& password, uint32_t levels);

  // The names of the table, sorted alphabetically without regard to letter
  // case.
  QStringList Names() const;
  // Who is told the names whenever the table is loaded or a result is
  // recorded (the main window fills its name box with them); an empty
  // function stops it.
  using TNamesListener = std::function<void(const QStringList& names)>;
  void SetNamesListener(TNamesListener listener) { namesListener_ = std::move(listener); }

  // The table. The controller empties it before loading again; tests set
  // it up directly.
  TRanking& Ranking() { return ranking_; }
  const TRanking& Ranking() const { return ranking_; }

 private:
  void TellNames() const;
  void ReportOnce(const std::string& what);
  bool Unsaved(const scorestore::TPlace* place, const std::string& reason,
               bool saidAtStart = false) const;

  TRanking ranking_;
  TSaveSettings settings_;
  TNamesListener namesListener_;
  // The table as loaded: players whose record differs from this at the save
  // were changed by this run of the program.
  std::vector<ScoreRecord> loaded_;
  // Why this run's results cannot be saved, found at load.
  scorestore::TRefusal refusal_ = scorestore::TRefusal::kNone;
  std::string refusalWhy_;
  // Results an earlier run kept aside, found at load: whose, and where.
  QStringList asidePlayers_;
  QString asideFile_;
  std::string lastReport_;  // said once, however often the file is loaded
};
