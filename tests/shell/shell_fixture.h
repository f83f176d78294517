// SPDX-License-Identifier: GPL-3.0-or-later
// A real main window, shown offscreen, with helpers that click, type and
// tick the way a player's session does.
#pragma once

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <cstring>
#include <memory>

#include "base/Random.h"
#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "drawing/pieces.h"
#include "drawing/rilArrayBtn.h"
#include "games/game0.h"
#include "halloffame/scores.h"
#include "shell/Unit1.h"
#include "shell/gamecontrol.h"
#include "temp_folder.h"

class ShellTest : public ::testing::Test {
 protected:
  void SetUp() override {
    zam::RandSeed(20261210);
    // The program starts with an empty table; so does every window a test
    // builds: each owns a hall of fame of its own.
    form = std::make_unique<TForm1>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    // The pointer rests in the window's corner, off the board: where an
    // earlier test left it must not count as a player's hover.
    QCursor::setPos(form->mapToGlobal(QPoint(1, 1)));
    QApplication::processEvents();
  }
  void TearDown() override { form.reset(); }

  // The controller of the window under test.
  TGameController& Controller() { return form->Controller(); }
  // Gives the player level `level` in game type `type`, as a sign-in with
  // stored levels does.
  void SetLevel(int type, int level) {
    const uint32_t others = Controller().PackLevels() & ~(7u << (3 * type));
    Controller().UnpackLevels(others | uint32_t(level) << (3 * type));
  }

  QString Status() const { return form->smallmsgbox->text(); }
  uint32_t StatusColour() const {
    return SwapRB(ToPixel(form->smallmsgbox->palette().color(QPalette::WindowText)));
  }

  // A click on game button n (0..8) of the selector: the pointer moves onto
  // the button first, as it does for a player.
  void ChooseGame(int n) {
    const TRect r = form->gameselbtn->GetBtnRect(uint8_t(n));
    const QPoint p((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
    // Qt drops a move to where the pointer already is: come from a gap.
    QTest::mouseMove(form->gameselbtn, {1, 1});
    QTest::mouseMove(form->gameselbtn, p);
    QTest::mousePress(form->gameselbtn, Qt::LeftButton, {}, p);
    QTest::mouseRelease(form->gameselbtn, Qt::LeftButton, {}, p);
  }

  void Click(QPushButton* button) { QTest::mouseClick(button, Qt::LeftButton); }

  // Anonymous sign-in, game 1 chosen and started.
  void StartGame1() {
    ChooseGame(0);
    Click(form->actionBtn);
    ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  }

  TGame0& Game1() { return *static_cast<TGame0*>(Controller().GameModule(0)); }

  // A press and release on the board at p, after moving there.
  void ClickBoard(QPoint p, Qt::MouseButton button = Qt::LeftButton) {
    QTest::mouseMove(form->box1, {1, 1});
    QTest::mouseMove(form->box1, p);
    QTest::mousePress(form->box1, button, {}, p);
    QTest::mouseRelease(form->box1, button, {}, p);
  }

  // Runs the move timer's ticks until a module switches it off.
  int RunTimer(int limit = 100000) {
    int ticks = 0;
    while (form->Timer1.isActive() && ticks < limit) {
      form->Timer1Timer();
      ++ticks;
    }
    return ticks;
  }

  // Picks a stored name as a player does: a click on the box's arrow opens
  // the list, the pointer moves onto the entry and clicks it.
  void PickName(const QString& name) {
    QComboBox* box = form->namebox;
    const int index = box->findText(name);
    ASSERT_GE(index, 0);
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(box->width() - 8, box->height() / 2));
    QAbstractItemView* view = box->view();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->isVisible(); }, 2000));
    const QPoint p = view->visualRect(view->model()->index(index, 0)).center();
    QTest::mouseMove(view->viewport(), p);
    // The list ignores a release that could still belong to the opening click.
    QTest::qWait(QApplication::doubleClickInterval() + 50);
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, p);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !view->isVisible(); }, 2000));
  }

  // A drag on the board as a player makes it: onto the piece from nearby,
  // press, move in small steps, release.
  void DragBoard(QPoint from, QPoint to, int steps = 20) {
    QTest::mouseMove(form->box1, from + QPoint(7, 5));
    QTest::mouseMove(form->box1, from);
    QTest::mousePress(form->box1, Qt::LeftButton, {}, from);
    for (int i = 1; i <= steps; ++i) QTest::mouseMove(form->box1, from + (to - from) * i / steps);
    QTest::mouseRelease(form->box1, Qt::LeftButton, {}, to);
  }

  // Runs the move timer's ticks to the end of the move, measuring the
  // screen traffic: the ticks, and the most pixels one tick flushed.
  std::pair<int, long long> RunTimerMeasured() {
    form->Board().FlushStats = {};
    long long most = 0;
    int ticks = 0;
    while (form->Timer1.isActive() && ticks < 100000) {
      const long long before = form->Board().FlushStats.pixels;
      form->Timer1Timer();
      most = std::max(most, form->Board().FlushStats.pixels - before);
      ++ticks;
    }
    return {ticks, most};
  }

  InTempFolder shellFolder;  // the window reads and writes ZamScores here
  std::unique_ptr<TForm1> form;
};

// The first pixel where two bitmaps of the same size differ, or (-1, -1);
// pixels inside `ignore` do not count.
inline QPoint FirstDifference(const TXBitmap& a, const TXBitmap& b, TRect ignore = {}) {
  if (a.Width() != b.Width() || a.Height() != b.Height()) return {0, 0};
  const QImage& x = a.Image();
  const QImage& y = b.Image();
  const size_t rowBytes = size_t(a.Width()) * 4;
  for (int row = 0; row < a.Height(); ++row) {
    if (std::memcmp(x.constScanLine(row), y.constScanLine(row), rowBytes) == 0) continue;
    for (int col = 0; col < a.Width(); ++col) {
      const bool ignored =
          col >= ignore.Left && col < ignore.Right && row >= ignore.Top && row < ignore.Bottom;
      if (!ignored && a.GetPixel(col, row) != b.GetPixel(col, row)) return {col, row};
    }
  }
  return {-1, -1};
}

// Whether the board shows the image with its top-left at (x, y): every pixel
// of the image but its transparent ones and those off the board.
inline bool ShowsImage(const TXBitmap& board, int x, int y, const TXBitmap& image) {
  const uint32_t key = SwapRB(image.TransparentColor);
  for (int j = 0; j < image.Height(); ++j)
    for (int i = 0; i < image.Width(); ++i) {
      const uint32_t v = image.GetPixel(i, j);
      if (image.Transparent && v == key) continue;
      if (x + i < 0 || x + i >= board.Width() || y + j < 0 || y + j >= board.Height()) continue;
      if (board.GetPixel(x + i, y + j) != v) return false;
    }
  return true;
}

// The centre of block (column, row) of game 1 on the board.
inline QPoint BlockCentre(int column, int row) {
  const TRect r = game0::BlockRect(column, row);
  return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
}
