// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/scores.h"

#include <unistd.h>

#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "halloffame/keptaside.h"
#include "halloffame/merge.h"
#include "halloffame/rewrite.h"
#include "halloffame/scorestore.h"

using namespace scorestore;

volatile std::sig_atomic_t SaveStopRequests = 0;

namespace {

void Report(const std::string& what) { std::fprintf(stderr, "zam: %s\n", what.c_str()); }

std::string Players(const std::vector<ScoreRecord>& records) {
  std::string list;
  for (const ScoreRecord& r : records)
    list += (list.empty() ? "" : ", ") + RecordName(r).toStdString() + " (score " +
            std::to_string(TotalScore(r.levels)) + ")";
  return list;
}

// The score file as a load sees it: a rewrite in place another copy left
// cut short is completed first when the lock is free; while one is running
// the contents it is writing are read.
TFileState ReadForLoad(const TPlace& place) {
  const std::string journals = place.base + ".journal.";
  if (NamesStartingWith(place.dir, journals).empty()) return ReadScoreFile(place);
  TFileState f = ReadScoreFile(place);
  std::string why;
  const int lock = OpenLock(place, f, why);
  if (lock >= 0 && WaitForLock(lock, 0, nullptr, why)) {
    RepairFromJournals(place);
    f = ReadScoreFile(place);
  } else if (const auto contents = JournalledContents(place, f)) {
    f.bytes = *contents;
    f.valid = DecodeValidRecords(f.bytes, &f.dropsBytes);
  }
  if (lock >= 0) ::close(lock);
  return f;
}

}  // namespace

void THallOfFame::ReportOnce(const std::string& what) {
  if (what == lastReport_) return;
  lastReport_ = what;
  Report(what);
}

// A save that cannot write the score file keeps this run's results aside
// (with what was kept aside before), names them and the file on standard
// error, and returns false. Nothing recorded: nothing to keep, and a
// reason already said at start is not said again.
bool THallOfFame::Unsaved(const TPlace* place, const std::string& reason, bool saidAtStart) const {
  const std::vector<ScoreRecord> mine = ThisRunsRecords(loaded_, ranking_.TableRecords());
  const std::string head = "cannot save the hall of fame to \"" + std::string(::kScoreFile) + "\": ";
  if (mine.empty()) {
    if (!saidAtStart) Report(head + reason + "; this run recorded nothing, so nothing is lost");
    return false;
  }
  TPlace here;
  std::string unused;
  if (!place || place->dir < 0)
    place = Locate(here, unused) == TRefusal::kNone || CurrentFolder(here) ? &here : nullptr;
  std::string name, why = "its folder cannot be opened";
  if (place && KeepAside(*place, mine, name, why)) {
    Report(head + reason + "; the results of " + Players(mine) + " are kept in \"" + name +
           "\" and join the hall of fame at the next save");
  } else {
    Report(head + reason + ", nor keep the results beside it (" + why + "); not saved: " +
           Players(mine));
  }
  return false;
}

bool THallOfFame::Load() {
  TPlace place;
  std::string why;
  TFileState f;
  const TRefusal located = Locate(place, why);
  if (located == TRefusal::kNone) {
    f = ReadForLoad(place);
    Judge(place, f);
  } else {
    f = Refused(located, why);
  }
  refusal_ = f.refusal;
  refusalWhy_ = f.why;
  if (refusal_ != TRefusal::kNone)
    ReportOnce(std::string("the hall of fame \"") + ::kScoreFile + "\" is kept as it is (" + f.why +
               "): this run's results will not be saved to it");
  // The table is what the file holds: empty when there is nothing to read,
  // whatever a load before this one left in it.
  if (f.kind == TFileState::kRead)
    ranking_.SetTable(std::vector<ScoreRecord>(
        f.valid.begin(), f.valid.begin() + std::min<std::ptrdiff_t>(f.valid.size(), kHallSize)));
  else
    ranking_.SetTable({});
  loaded_ = ranking_.TableRecords();
  // Results an earlier run had to keep aside are told once at start, and
  // join the table now, as results of this run, so that the player sees
  // them and this run's save keeps them.
  asidePlayers_.clear();
  asideFile_.clear();
  if (place.dir >= 0 || CurrentFolder(place)) {
    const TKeptAside aside = ReadKeptAside(place);
    for (const ScoreRecord& r : aside.records) asidePlayers_ << RecordName(r);
    if (!aside.names.empty()) asideFile_ = QString::fromStdString(aside.names.front());
    if (refusal_ == TRefusal::kNone && !aside.records.empty()) {
      for (const ScoreRecord& r : aside.records) {
        std::vector<ScoreRecord> table = ranking_.TableRecords();
        if (TakeIn(table, r)) ranking_.Put(r);
      }
      ranking_.Sort();
    }
  }
  TellNames();
  return f.kind != TFileState::kUnreadable;
}

QString THallOfFame::Warning() const {
  QString text;
  switch (refusal_) {
    case TRefusal::kNone:
      break;
    case TRefusal::kUnreadable:
      text = QStringLiteral("\"ZamScores\" kan niet gelezen worden");
      break;
    case TRefusal::kNotAHallOfFame:
      text = QStringLiteral("\"ZamScores\" is geen ere-galerij");
      break;
    case TRefusal::kForeignLink:
      text = QStringLiteral("\"ZamScores\" is een link van of naar een andere gebruiker");
      break;
    case TRefusal::kReadOnly:
      text = QStringLiteral("\"ZamScores\" mag niet door u gewijzigd worden");
      break;
    case TRefusal::kFolder:
      text = QStringLiteral("in de map van \"ZamScores\" mag u niet schrijven");
      break;
  }
  if (!text.isEmpty()) text += QStringLiteral(": de resultaten van deze keer worden niet bewaard.");
  if (!asidePlayers_.isEmpty()) {
    if (!text.isEmpty()) text += QLatin1Char('\n');
    text += QStringLiteral("De resultaten van %1 konden eerder niet in \"ZamScores\" bewaard "
                           "worden; ze staan in \"%2\"")
                .arg(asidePlayers_.join(QStringLiteral(", ")), asideFile_);
    text += refusal_ == TRefusal::kNone ? QStringLiteral(" en worden nu opgenomen.")
                                        : QStringLiteral(".");
  }
  return text;
}

QMessageBox* THallOfFame::WarnAbout(QWidget* window) const {
  const QString text = Warning();
  if (text.isEmpty()) return nullptr;
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Zam"), text, QMessageBox::Ok,
                              window);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();
  return box;
}

// Lock, read, merge, write. The result replaces the file whole (a new file
// renamed over it, with the file's own mode and owner), or, for another
// user's file, is written in place through a journal. A save that changes
// nothing writes nothing; bytes a save would drop are kept in a backup.
bool THallOfFame::Save() {
  if (refusal_ != TRefusal::kNone) return Unsaved(nullptr, refusalWhy_, true);
  TPlace place;
  std::string why;
  if (Locate(place, why) != TRefusal::kNone) return Unsaved(nullptr, why);
  TFileState now = ReadScoreFile(place);
  Judge(place, now);
  if (now.refusal != TRefusal::kNone) return Unsaved(&place, now.why);
  // Lock.
  const int lock = OpenLock(place, now, why);
  if (lock < 0 || !WaitForLock(lock, settings_.lockWaitMilliseconds, &SaveStopRequests, why)) {
    if (lock >= 0) ::close(lock);
    return Unsaved(&place, "no lock: " + why);
  }
  struct Unlock {
    int fd;
    ~Unlock() { ::close(fd); }  // closing releases the lock
  } unlock{lock};
  RemoveStaleTemporaries(place);
  RepairFromJournals(place);
  // Read, as the file is now.
  now = ReadScoreFile(place);
  Judge(place, now);
  if (now.refusal != TRefusal::kNone) return Unsaved(&place, now.why);
  const TKeptAside aside = ReadKeptAside(place);
  // Merge.
  const TMergeResult merged =
      MergeTables({now.valid, loaded_, ranking_.TableRecords(), aside.records});
  std::vector<ScoreRecord> kept;
  for (const ScoreRecord& r : merged.table)
    if (r.levels != 0) kept.push_back(r);
  const std::vector<uint8_t> data = EncodeRecords(kept);
  // Write.
  if (now.kind != TFileState::kRead || data != now.bytes) {
    const bool read = now.kind == TFileState::kRead;
    if (read && now.dropsBytes && !Backup(place, now.bytes, now.st, why))
      return Unsaved(&place, "no backup of the damaged file could be made: " + why);
    if (RewritesInPlace(now)) {
      const TRewrite done = RewriteInPlace(place, now, data, why, settings_.rewriteFault);
      if (done == TRewrite::kRestored) return Unsaved(&place, why + " (the file is as it was)");
      if (done == TRewrite::kPending)
        return Unsaved(&place, why + " (the file is completed from its journal at the next start)");
    } else {
      const TReplace done = ReplaceFile(place, data, read ? &now.st : nullptr,
                                        NewFileMode(place, now), settings_.interruption, why);
      if (done == TReplace::kStopped) return false;  // as if killed: nothing more happens
      if (done == TReplace::kFailed) return Unsaved(&place, why + " (the file is as it was)");
    }
  }
  RemoveKeptAside(place, aside);
  // Saved: the table becomes what the file now holds.
  ranking_.SetTable(merged.table);
  loaded_ = ranking_.TableRecords();
  return true;
}

void THallOfFame::RecordResult(const QString& name, const QString& password, uint32_t levels) {
  ranking_.StoreResult(name, password, levels);
  TellNames();
}

QStringList THallOfFame::Names() const {
  QStringList names;
  for (int k = 1; k <= ranking_.Count(); ++k) names << RecordName(ranking_.Slot(k));
  std::stable_sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) < 0;
  });
  return names;
}

void THallOfFame::TellNames() const {
  if (namesListener_) namesListener_(Names());
}
