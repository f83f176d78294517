// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame with the keys: the selected rank and the scrolled page
// after each key, and what a screen reader is told of a rank.
#include <QAccessible>
#include <QKeyEvent>
#include <QScrollBar>
#include <vector>

#include "drawing/accessible.h"
#include "halloffame/hall_fixture.h"
#include "halloffame/hall_keys.h"
#include "halloffame/scoreform.h"
#include "shell/shell_fixture.h"

namespace {

// Worked out by hand: a page shows 25 ranks, top + 1 .. top + 25.
struct StepCase {
  THallView from;
  int key;
  int entries;
  THallView to;
};
const StepCase kSteps[] = {
    {{0, 0}, Qt::Key_Down, 30, {1, 0}},        // the first key selects rank 1
    {{25, 0}, Qt::Key_Down, 30, {26, 1}},      // one past the page: scrolled by one
    {{30, 5}, Qt::Key_Down, 30, {30, 5}},      // the last rank stays
    {{1, 0}, Qt::Key_Up, 30, {1, 0}},          // the first rank stays
    {{6, 5}, Qt::Key_Up, 30, {5, 4}},          // one above the page: scrolled back by one
    {{0, 0}, Qt::Key_PageDown, 30, {25, 0}},   // a page on: rank 25, still in sight
    {{25, 0}, Qt::Key_PageDown, 30, {30, 5}},  // no whole page left: the last rank
    {{30, 5}, Qt::Key_PageUp, 30, {5, 4}},     // a page back
    {{3, 0}, Qt::Key_PageUp, 30, {1, 0}},
    {{17, 0}, Qt::Key_End, 100, {100, 75}},    // the last page: ranks 76..100
    {{100, 75}, Qt::Key_Home, 100, {1, 0}},
    {{0, 0}, Qt::Key_End, 3, {3, 0}},          // a short list: no scrolling
    {{0, 0}, Qt::Key_Down, 0, {0, 0}},         // an empty list: nothing to select
};

TEST(HallKeys, EachKeyMovesTheSelectionAndKeepsItInSight) {
  for (const StepCase& c : kSteps) {
    bool handled = false;
    const THallView to = StepHall(c.from, c.key, c.entries, &handled);
    EXPECT_TRUE(handled);
    EXPECT_EQ(to.selected, c.to.selected) << c.from.selected << " key " << c.key;
    EXPECT_EQ(to.top, c.to.top) << c.from.selected << " key " << c.key;
  }
  bool handled = true;
  StepHall({3, 0}, Qt::Key_A, 30, &handled);
  EXPECT_FALSE(handled);
}

class HallKeysWindow : public ShellTest {
 protected:
  void SetUp() override {}  // the window comes once the test has made its files
  void OpenWith(int players) {
    std::vector<ScoreRecord> records;
    // The file holds the ranks in order: game 2 (2 points a level) at level
    // 5 for P0..P5, down to level 1 for P24..P29.
    for (int i = 0; i < players; ++i)
      records.push_back(MakeRecord(PlayerName(i), "", uint32_t(5 - i / 6) << 3));
    WriteFile(Bytes(records));
    ShellTest::SetUp();
    scoreform = form->HallWindow();
    scoreform->Timer1.blockSignals(true);  // rows painted by the test's ticks
    scoreform->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(scoreform));
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), scoreform->scorebox);
  }
  void Key(int key) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QApplication::processEvents();
    while (scoreform->Timer1.isActive()) scoreform->Timer1Timer();
  }
  InTempFolder folder;
  Tscoreform* scoreform = nullptr;  // the window's own
};

// With 30 players the ranks below the first page are reached by keyboard,
// the page scrolls along for all to see, and each rank is said.
TEST_F(HallKeysWindow, ThirtyPlayersAllReachedByKeyboard) {
  OpenWith(30);
  while (scoreform->Timer1.isActive()) scoreform->Timer1Timer();
  const QImage atRest = scoreform->scorebox->Surface().Image().copy();
  std::vector<QString> said;
  TAnnouncer::Watcher = [&](TAnnouncer*, const QString& text) { said.push_back(text); };
  Key(Qt::Key_End);
  EXPECT_EQ(scoreform->Selected, 30);
  EXPECT_EQ(scoreform->ScrollBar1->value(), 5);
  Key(Qt::Key_Up);
  EXPECT_EQ(scoreform->Selected, 29);
  Key(Qt::Key_Home);
  EXPECT_EQ(scoreform->ScrollBar1->value(), 0);
  // The focus mark shows on rank 1: a dark frame one pixel inside row 1.
  const QImage marked = scoreform->scorebox->Surface().Image();
  EXPECT_EQ(marked.pixel(200, 1) & 0xFFFFFF, 0u);
  EXPECT_EQ(marked.pixel(200, 26) & 0xFFFFFF, atRest.pixel(200, 26) & 0xFFFFFF);  // row 2 as at rest
  EXPECT_NE(marked, atRest);
  TAnnouncer::Watcher = nullptr;
  ASSERT_EQ(said.size(), 3u);
  EXPECT_TRUE(said[0].startsWith(QStringLiteral("rang 30: P29"))) << said[0].toStdString();
  EXPECT_TRUE(said[0].endsWith(
      QStringLiteral(", level 1 in spel 2, score 2, laatst gespeeld 15-03-2023.")))
      << said[0].toStdString();
  EXPECT_TRUE(said[2].startsWith(QStringLiteral("rang 1: P0"))) << said[2].toStdString();
  EXPECT_TRUE(said[2].endsWith(QStringLiteral(", level 5 in spel 2, score 10, laatst gespeeld 15-03-2023.")));
  Key(Qt::Key_Escape);
  EXPECT_FALSE(scoreform->isVisible());
}

// A player with levels in several games: each named, then the score.
TEST_F(HallKeysWindow, ARankIsReadWithItsLevelsAndScore) {
  WriteFile(Bytes({MakeRecord("Anna", "", 2u | 1u << 6 | 5u << 24)}));
  ShellTest::SetUp();
  // Game 1 at level 2 (2 points), game 3 at level 1 (3), game 9 at level 5 (45).
  const TRanking& ranking = form->HallOfFame().Ranking();
  EXPECT_EQ(HallRowText(ranking, 1),
            QStringLiteral("rang 1: Anna, level 2 in spel 1, level 1 in spel 3 en "
                           "level 5 in spel 9, score 50, laatst gespeeld "
                           "15-03-2023"));
  EXPECT_EQ(HallRowText(ranking, 2), QString());
  EXPECT_EQ(HallRowCells(ranking, 1),
            (QStringList{QStringLiteral("1"), QStringLiteral("Anna"),
                         QStringLiteral("level 2 in spel 1, level 1 in spel 3 en "
                                        "level 5 in spel 9"),
                         QStringLiteral("50"), QStringLiteral("15-03-2023")}));
}

// A screen reader sees the page as a table: a row per rank shown, a column
// each for rank, name, levels, score and date, the keys' rank selected.
TEST_F(HallKeysWindow, ThePageIsATableOfTheRanksShown) {
  OpenWith(30);
  QAccessibleInterface* box = QAccessible::queryAccessibleInterface(scoreform->scorebox);
  ASSERT_EQ(box->role(), QAccessible::Table);
  QAccessibleTableInterface* table = box->tableInterface();
  ASSERT_NE(table, nullptr);
  const QStringList titles{"rang", "naam", "levels", "score", "datum"};
  ASSERT_EQ(table->columnCount(), 5);
  for (int c = 0; c < 5; ++c) {
    EXPECT_EQ(table->columnDescription(c), titles[c]);
    const auto headers = table->cellAt(0, c)->tableCellInterface()->columnHeaderCells();
    ASSERT_EQ(headers.size(), 1);
    EXPECT_EQ(headers[0]->text(QAccessible::Name), titles[c]);
  }
  struct Look {
    int key, rows, selectedRow;
    QString firstRank, selectedName;
  };
  // Ranks 1..25 on the first page; End shows 6..30 with rank 30 last.
  const Look looks[] = {{0, 25, -1, "1", ""},
                        {Qt::Key_Down, 25, 0, "1", "P0"},
                        {Qt::Key_End, 25, 24, "6", "P29"},
                        {Qt::Key_Up, 25, 23, "6", "P28"}};
  for (const Look& look : looks) {
    if (look.key) Key(look.key);
    EXPECT_EQ(table->rowCount(), look.rows);
    EXPECT_EQ(table->cellAt(0, 0)->text(QAccessible::Name), look.firstRank);
    const QList<int> selected = table->selectedRows();
    if (look.selectedRow < 0) {
      EXPECT_TRUE(selected.isEmpty());
      continue;
    }
    ASSERT_EQ(selected, QList<int>{look.selectedRow});
    QAccessibleInterface* name = table->cellAt(look.selectedRow, 1);
    EXPECT_EQ(name->text(QAccessible::Name), look.selectedName);
    EXPECT_TRUE(name->state().selected);
    EXPECT_TRUE(table->cellAt(look.selectedRow, 0)->state().focused);
    EXPECT_FALSE(table->cellAt(look.selectedRow == 0 ? 1 : 0, 0)->state().selected);
  }
}

}  // namespace
