// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame through the real windows: sign-in against stored players,
// results recorded after games, the gallery window, and the file at exit.
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>

#include <QAbstractItemView>
#include <QKeyEvent>
#include <QScrollBar>
#include <fstream>
#include <thread>

#include "halloffame/child_process.h"
#include "halloffame/hall_fixture.h"
#include "halloffame/scoreform.h"
#include "shell/shell_fixture.h"

extern char** environ;

namespace {

// An independent reading of one stored record: layout and checksum as the
// file format defines them, without the program's own routines.
struct Reader {
  std::string name;
  std::string password;
  uint32_t levels;
  double date;
  bool checksumOk;
};

Reader ReadRecord(const QByteArray& file, int index) {
  const auto* b = reinterpret_cast<const uint8_t*>(file.constData()) + 56 * index;
  Reader r;
  r.name.assign(reinterpret_cast<const char*>(b + 1), b[0]);
  r.password.assign(reinterpret_cast<const char*>(b + 12), b[11]);
  r.levels = uint32_t(b[32]) | uint32_t(b[33]) << 8 | uint32_t(b[34]) << 16 | uint32_t(b[35]) << 24;
  std::memcpy(&r.date, b + 40, 8);
  const uint32_t stored =
      uint32_t(b[48]) | uint32_t(b[49]) << 8 | uint32_t(b[50]) << 16 | uint32_t(b[51]) << 24;
  uint32_t reg = 0;
  auto feed = [&reg](uint8_t byte) {
    for (int i = 0; i < 8; ++i) {
      reg = reg << 1 | reg >> 31;
      if (byte >> i & 1) reg ^= 0x11203045u;
    }
  };
  for (char c : r.name) feed(uint8_t(c));
  for (char c : r.password) feed(uint8_t(c));
  feed(uint8_t(r.levels));
  for (int i = 0; i < 3; ++i) feed(0);
  for (uint8_t c : {0x83, 0xC4, 0xE8, 0x8D, 0x44, 0x24, 0x08, 0x50}) feed(c);
  r.checksumOk = reg == stored;
  return r;
}

class HallWidgets : public ShellTest {
 protected:
  void SetUp() override {}  // the window comes once the test has made its files
  void Open() { ShellTest::SetUp(); }
  // The table of the window's hall of fame.
  const TRanking& Table() const { return form->HallOfFame().Ranking(); }
  void TypeInto(QWidget* w, const QString& text) {
    w->setFocus();
    QTest::keyClicks(w, text);
  }
  InTempFolder folder;
};

TEST_F(HallWidgets, NewPlayerWinsThenComesBackForHerStars) {
  Open();
  TypeInto(form->namebox->lineEdit(), QStringLiteral("Anna"));
  TypeInto(form->passwordEdit, QStringLiteral("x1"));
  StartGame1();
  Game1().SetPosition({{0, 2}});
  ClickBoard(BlockCentre(2, 1));
  ASSERT_EQ(Status(), QStringLiteral("je hebt gewonnen !"));
  EXPECT_EQ(form->namebox->findText(QStringLiteral("Anna")), 0);  // listed at once
  form.reset();  // closing the window writes the file

  const QByteArray file = ReadFile();
  ASSERT_EQ(file.size(), 56);
  const Reader r = ReadRecord(file, 0);
  EXPECT_TRUE(r.checksumOk);
  EXPECT_EQ(r.name, "Anna");
  EXPECT_EQ(r.levels, 1u);
  EXPECT_EQ(int(r.date), QDate(1899, 12, 30).daysTo(QDate::currentDate()));
  EXPECT_EQ(UnscrambleText(r.password), "x1");

  // The next start.
  Open();
  ASSERT_EQ(form->namebox->count(), 1);
  EXPECT_TRUE(form->namebox->currentText().isEmpty());
  PickName(QStringLiteral("Anna"));
  EXPECT_EQ(Status(), QStringLiteral("geef password..."));
  EXPECT_EQ(StatusColour(), 0x606060u);
  EXPECT_EQ(QApplication::focusWidget(), form->passwordEdit);
  QTest::keyClicks(form->passwordEdit, QStringLiteral("x2"));
  QTest::keyClick(form->passwordEdit, Qt::Key_Return);
  EXPECT_EQ(Status(), QStringLiteral("password niet correct"));
  EXPECT_FALSE(Controller().SignedIn());
  form->passwordEdit->clear();
  QTest::keyClicks(form->passwordEdit, QStringLiteral("x1"));
  QTest::keyClick(form->passwordEdit, Qt::Key_Return);
  EXPECT_TRUE(Controller().SignedIn());
  EXPECT_EQ(Controller().Levels()[0], 1);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("1"));

  // The gallery shows her at rank 1.
  Tscoreform* scoreform = form->HallWindow();
  scoreform->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(scoreform));
  QApplication::processEvents();
  EXPECT_TRUE(scoreform->Timer1.isActive());
  while (scoreform->Timer1.isActive()) scoreform->Timer1Timer();
  // The rows as the timer painted them (a grab would repaint the box, which
  // starts the rows again).
  const QImage rows = scoreform->scorebox->Surface().Image();
  auto inkIn = [&](int x0, int x1, int row) {
    int n = 0;
    for (int y = 25 * (row - 1) + 4; y < 25 * row - 2; ++y)
      for (int x = x0; x < x1; ++x) n += (rows.pixel(x, y) & 0xFFFFFF) < 0x808080;
    return n;
  };
  EXPECT_GT(inkIn(15, 31, 1), 0);    // rank
  EXPECT_GT(inkIn(100, 160, 1), 0);  // name
  EXPECT_GT(inkIn(250, 340, 1), 0);  // date
  EXPECT_GT(inkIn(405, 421, 1), 0);  // score
  EXPECT_EQ(inkIn(0, 450, 2), 0);    // nobody at rank 2
  EXPECT_EQ(rows.pixel(440, 2) & 0xFFFFFF, 0xE0FFE0u);
  EXPECT_EQ(rows.pixel(440, 27) & 0xFFFFFF, 0xFFE0E0u);
  EXPECT_EQ(rows.pixel(440, 24 * 25 + 2) & 0xFFFFFF, 0xE0FFE0u);  // row 25 striped too
  QTest::keyClick(scoreform, Qt::Key_Escape);
  EXPECT_EQ(scoreform->result(), QDialog::Accepted);
  EXPECT_FALSE(scoreform->isVisible());
}

TEST_F(HallWidgets, GalleryScrollsToTheLastPage) {
  std::vector<ScoreRecord> players;
  for (int i = 0; i < 100; ++i)
    players.push_back(MakeRecord(PlayerName(i), "", uint32_t(1 + i % 5)));
  WriteFile(Bytes(players));
  Open();
  ASSERT_EQ(Table().Count(), 100);
  Tscoreform* scoreform = form->HallWindow();
  // The rows come from the test's ticks only: on a busy machine the row
  // timer's own 40 ms tick could otherwise slip in while the window shows.
  // (The hall-of-fame window owns its timer and goes with the main window,
  // so no blocker object may outlive it.)
  scoreform->Timer1.blockSignals(true);
  scoreform->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(scoreform));
  QApplication::processEvents();
  for (int i = 0; i < 10; ++i) scoreform->Timer1Timer();
  EXPECT_EQ(scoreform->RowCounter, 11);
  scoreform->ScrollBar1->setValue(75);
  QApplication::processEvents();
  EXPECT_EQ(scoreform->RowCounter, 1);  // painting starts again from the top
  EXPECT_EQ(scoreform->ScrollBar1->maximum(), 75);
  while (scoreform->Timer1.isActive()) scoreform->Timer1Timer();
  EXPECT_EQ(scoreform->RowCounter, 26);
  // The 15-ring gradient frame around the rows: (9, 25) .. (488, 679).
  const QImage window = scoreform->grab().toImage();
  EXPECT_EQ(window.pixel(200, 25) & 0xFFFFFF, 0xFFFF00u);   // outer ring: yellow on top
  EXPECT_EQ(window.pixel(200, 678) & 0xFFFFFF, 0xFF8000u);  // orange at the bottom
  EXPECT_EQ(window.pixel(9, 300) & 0xFFFFFF, 0xFFFF00u);
  EXPECT_EQ(window.pixel(200, 39) & 0xFFFFFF, 0xFF8000u);  // inner ring reversed
}

TEST_F(HallWidgets, RecordResultUpdatesIgnoringLetterCase) {
  WriteFile(Bytes({MakeRecord("Anna", "", 2)}));
  Open();
  form->HallOfFame().RecordResult(QStringLiteral("ANNA"), QString(), 4);
  EXPECT_EQ(Table().Count(), 1);
  EXPECT_EQ(RecordName(Table().Slot(1)), QStringLiteral("ANNA"));
  EXPECT_EQ(Table().Slot(1).levels, 4u);
  EXPECT_EQ(form->namebox->itemText(0), QStringLiteral("ANNA"));
}

TEST_F(HallWidgets, AFullTableGivesSlot100ToANewName) {
  std::vector<ScoreRecord> players;
  for (int i = 0; i < 100; ++i) players.push_back(MakeRecord(PlayerName(i), "", 1));
  WriteFile(Bytes(players));
  Open();
  form->HallOfFame().RecordResult(QStringLiteral("Nieuw"), QStringLiteral("x1"), 5u << 24);
  EXPECT_EQ(Table().Count(), 100);
  EXPECT_EQ(RecordName(Table().Slot(100)), QStringLiteral("Nieuw"));
  EXPECT_EQ(std::string(Table().Slot(100).password, Table().Slot(100).passwordLength), "8baW00");
  EXPECT_EQ(Table().SlotAtRank(1), 100);  // re-sorted: the new 45 points lead
  EXPECT_EQ(form->namebox->findText(QStringLiteral("P99")), -1);
}

TEST_F(HallWidgets, ATypedNameOfAStoredPlayerIsRefused) {
  WriteFile(Bytes({MakeRecord("Anna", "", 2)}));
  Open();
  TypeInto(form->namebox->lineEdit(), QStringLiteral("anna"));
  QTest::keyClick(form->namebox->lineEdit(), Qt::Key_Return);
  EXPECT_FALSE(Controller().SignedIn());
  EXPECT_EQ(Status(), QStringLiteral("deze naam is al in gebruik, kies andere..."));
}

TEST_F(HallWidgets, APlayerWithoutPasswordSignsInAtOnce) {
  WriteFile(Bytes({MakeRecord("Bert", "", 3 | 2 << 24)}));
  Open();
  PickName(QStringLiteral("Bert"));
  EXPECT_TRUE(Controller().SignedIn());
  EXPECT_EQ(Controller().Levels()[0], 3);
  EXPECT_EQ(Controller().Levels()[8], 2);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("21"));
  EXPECT_EQ(QApplication::focusWidget(), form->actionBtn);
}

TEST_F(HallWidgets, MenuDuringPlayAndLossesAreRecordedToo) {
  Open();
  TypeInto(form->namebox->lineEdit(), QStringLiteral("Cees"));
  StartGame1();
  Click(form->stopBtn);  // abandoned at level 0: still recorded
  EXPECT_EQ(Table().Count(), 1);
  EXPECT_EQ(RecordName(Table().Slot(1)), QStringLiteral("Cees"));
  EXPECT_EQ(Table().Slot(1).levels, 0u);
}

// A lost game, not only an abandoned one, is recorded: the level the win
// gave is taken back in the stored record.
TEST_F(HallWidgets, ALostGameIsRecorded) {
  Open();
  TypeInto(form->namebox->lineEdit(), QStringLiteral("Dora"));
  StartGame1();
  Game1().SetPosition({{0, 1}});
  ClickBoard(BlockCentre(2, 1));
  ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
  ASSERT_EQ(Table().Count(), 1);
  EXPECT_EQ(Table().Slot(1).levels, 1u);
  Click(form->actionBtn);  // "nieuw spel"
  Game1().SetPosition({{0, 2}});
  Click(form->compstartBtn);
  RunTimer();
  ASSERT_EQ(Status(), QStringLiteral("computer heeft gewonnen"));
  EXPECT_EQ(Table().Count(), 1);
  EXPECT_EQ(RecordName(Table().Slot(1)), QStringLiteral("Dora"));
  EXPECT_EQ(Table().Slot(1).levels, 0u);
}

// The name list is in alphabetical order whatever the order of the file.
TEST_F(HallWidgets, TheNameListIsSorted) {
  WriteFile(Bytes({MakeRecord("Cees", "", 1), MakeRecord("dirk", "", 2), MakeRecord("Anna", "", 3),
                   MakeRecord("bob", "", 4)}));
  Open();
  QStringList items;
  for (int i = 0; i < form->namebox->count(); ++i) items << form->namebox->itemText(i);
  EXPECT_EQ(items, (QStringList{QStringLiteral("Anna"), QStringLiteral("bob"),
                                QStringLiteral("Cees"), QStringLiteral("dirk")}));
}

// Levels belong to the player who signed in: after an anonymous win and
// "menu", a new name starts at level 0 in every game.
TEST_F(HallWidgets, ANewNameStartsAtLevelZero) {
  Open();
  StartGame1();
  Game1().SetPosition({{1, 0}});
  ClickBoard(BlockCentre(1, 1));
  ASSERT_EQ(Controller().Levels()[0], 1);
  Click(form->stopBtn);
  ASSERT_EQ(Controller().GameState(), TGameState::GsMenu);
  QTest::mouseClick(form->namebox, Qt::LeftButton);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("Nieuw"));
  ASSERT_EQ(form->namebox->currentText(), QStringLiteral("Nieuw"));
  Click(form->actionBtn);
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  EXPECT_EQ(Controller().Levels()[0], 0);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("0"));
}

TEST_F(HallWidgets, AnonymousPlayersAreNeverRecorded) {
  Open();
  StartGame1();
  Game1().SetPosition({{1, 0}});
  ClickBoard(BlockCentre(1, 1));
  ASSERT_EQ(Controller().GameState(), TGameState::GsGameOver);
  EXPECT_EQ(Table().Count(), 0);
}

// The real program ended by SIGTERM still writes the file: the damaged
// second record of the file it loaded is gone afterwards. It is signalled
// only once it catches the signal, which it does from the moment its window
// is shown: no pause that a loaded machine could outlast.
TEST(HallProcess, SigtermStillSaves) {
  InTempFolder folder;
  ScoreRecord bad = MakeRecord("Dirk", "", 9);
  bad.checksum ^= 1;
  WriteFile(Bytes({MakeRecord("Anna", "", 1), bad}));
  pid_t pid;
  char path[] = ZAM_BINARY;
  char* args[] = {path, nullptr};
  ASSERT_EQ(posix_spawn(&pid, path, nullptr, nullptr, args, environ), 0);
  // The program catches SIGTERM once its window is up; a signal before that
  // ends it at once without saving, however long the start takes.
  ASSERT_TRUE(WaitUntilCatching(pid, SIGTERM));
  kill(pid, SIGTERM);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status));
  EXPECT_EQ(ReadFile(), Bytes({MakeRecord("Anna", "", 1)}));
}

}  // namespace
