// The hall of fame: at most 100 named players with their scrambled
// passwords, levels and last playing dates, ranked by total score; the score
// file "ZamScores" that keeps them between runs; and the window listing them.
#pragma once

#include <QDialog>
#include <QString>
#include <QTimer>
#include <array>
#include <csignal>
#include <cstdint>

class QComboBox;
class QMessageBox;
class QScrollBar;
class QLabel;
class TPaintBox;

// One player: 56 bytes, little-endian, the same in memory and in the file.
struct ScoreRecord {
  uint8_t nameLength;      // 0..10
  char name[10];           //
  uint8_t passwordLength;  // 0..20
  char password[20];       // scrambled
  uint32_t levels;         // three bits per game type
  uint32_t reserved1;
  double date;  // OLE Automation date: days since 30-12-1899
  uint32_t checksum;
  uint32_t reserved2;
};
static_assert(sizeof(ScoreRecord) == 56);

constexpr int kHallSize = 100;
constexpr const char* kScoreFile = "ZamScores";

extern ScoreRecord Slots[kHallSize + 1];  // slots 1..100
extern uint8_t EntryCount;                // slots 1..EntryCount are in use
extern uint8_t RankOrder[kHallSize + 1];  // RankOrder[r]: the slot at rank r

// The record's bytes as stored, and back.
std::array<uint8_t, 56> EncodeRecord(const ScoreRecord& r);
ScoreRecord DecodeRecord(const uint8_t* bytes);

uint8_t TotalScore(uint32_t levels);  // 0..225; a level above 5 counts as 5
uint32_t RecordChecksum(const ScoreRecord& r);
QString RecordName(const ScoreRecord& r);
double OleDateNow();
QString FormatOleDate(double date);  // "dd-mm-yyyy"

void ClearHallOfFame();
bool LoadHallOfFame();  // also fills the name list
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
// Why this run's results will not be saved, in a short Dutch line for the
// player; empty when they will be. Known once the file has been loaded.
QString HallOfFameWarning();
// Shows that line in a message box over the window (not waiting for it to
// be closed); null when there is nothing to say.
QMessageBox* WarnAboutHallOfFame(QWidget* window);
// An empty table as at program start, with nothing loaded, nothing said
// yet and the save's settings as they start (for tests, which each start
// from scratch).
void ResetHallOfFame();
QString StoredPasswordOf(const QString& name);  // scrambled
uint32_t StoredLevelsOf(const QString& name);
// The result of a finished game of a named player: the name and password as
// typed, the levels packed three bits a game.
void RecordResult(const QString& name, const QString& password, uint32_t levels);
// Fills NameListBox with the names of the table, sorted.
void FillNameList();
void SortHallOfFame();
void ShowHallOfFame();  // the hall-of-fame window, modal

class TAnnouncer;

class Tscoreform : public QDialog {
  Q_OBJECT
 public:
  explicit Tscoreform(QWidget* parent = nullptr);

  TPaintBox* scorebox;
  QLabel *Label1, *Label2, *Label3, *Label4, *Label5;
  QScrollBar* ScrollBar1;
  QTimer Timer1;
  uint8_t RowCounter = 26;
  // The rank the keys have selected (0: none yet); it shows a focus mark.
  int Selected = 0;
  TAnnouncer* announcer;  // says each rank the keys select

  void scoreboxPaint();
  void Timer1Timer();
  void PaintRow(int a);  // row a (1..25) of the page
  void ScrollBar1Change();

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;
};

extern Tscoreform* scoreform;
// Builds the window when it is first shown, if the program set it; tests
// set scoreform themselves.
extern Tscoreform* (*MakeScoreForm)();
// The combo box that lists the players' names (set by the main window).
extern QComboBox* NameListBox;
