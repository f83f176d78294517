// SPDX-License-Identifier: GPL-3.0-or-later
// Text the program draws itself on a scaled screen: the rules box, the game
// selector's numbers, the score box and the help pages show their text at
// the screen's resolution (its edges are not all square blocks), while the
// shapes the pixel engine draws beside it (the board, the frames, the stars)
// stay exact blocks; on an unscaled screen every pixel is the surface's own.
// The factor the screen must get is named in ZAM_EXPECTED_FACTOR (1, 2 or
// 3), worked out by hand from the density or scale factor the run sets up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/Random.h"
#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "drawing/rilArrayBtn.h"
#include "help/help_unit.h"
#include "shell/Unit1.h"
#include "shell/gamecontrol.h"
#include "temp_folder.h"

namespace {

// A window as the screen shows it, in device pixels; offscreen, as it paints
// itself.
QImage ScreenOf(QWidget* window) {
  const QPixmap shot = QGuiApplication::platformName() == QLatin1String("offscreen")
                           ? window->grab()
                           : window->screen()->grabWindow(window->winId());
  return shot.toImage().convertToFormat(QImage::Format_RGB32);
}

// The blocks of k x k device pixels over the pixels of rectangle r (widget
// pixels of w, inside its window) that are not of one colour.
int SplitBlocks(const QImage& screen, QWidget* w, const QRect& r, int k) {
  const QPoint origin = w->mapTo(w->window(), QPoint(0, 0)) * k;
  int split = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x) {
      const QPoint corner = origin + QPoint(x, y) * k;
      const QRgb first = screen.pixel(corner);
      bool same = true;
      for (int j = 0; j < k && same; ++j)
        for (int i = 0; i < k && same; ++i) same = screen.pixel(corner + QPoint(i, j)) == first;
      if (!same) ++split;
    }
  return split;
}

// Every pixel of w as its surface holds it: one block each, of its colour.
void ExpectSurfaceAsBlocks(const QImage& screen, TSurfaceWidget* w, const QRect& r, int k) {
  const QPoint origin = w->mapTo(w->window(), QPoint(0, 0)) * k;
  const QImage& surface = w->Surface().Image();
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i)
          ASSERT_EQ(screen.pixel(origin + QPoint(x * k + i, y * k + j)) & 0xFFFFFF,
                    surface.pixel(x, y) & 0xFFFFFF)
              << "at " << x << "," << y;
}

class SharpTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* expected = std::getenv("ZAM_EXPECTED_FACTOR");
    ASSERT_TRUE(expected && std::string("123").find(expected) != std::string::npos &&
                std::string(expected).size() == 1)
        << "ZAM_EXPECTED_FACTOR must say the whole factor this screen is to get (1, 2 or 3)";
    k = std::atoi(expected);
    zam::RandSeed(20261211);
    form = std::make_unique<TForm1>();
    // Levels in two games: the score box shows stars and points (level 4
    // of game type 3, level 2 of game type 7, three bits each).
    form->Controller().UnpackLevels(4u << 9 | 2u << 21);
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    ASSERT_EQ(BlockFactor(form->windowHandle()->devicePixelRatio()), k);
    form->scoreBox->Invalidate();
    QTest::qWait(100);
  }
  void TearDown() override {
    form.reset();
  }

  int k = 0;
  InTempFolder folder;
  std::unique_ptr<TForm1> form;
};

TEST_F(SharpTextTest, MainWindowTextIsDrawnAtTheScreensResolutionAndShapesStayBlocks) {
  const QImage screen = ScreenOf(form.get());
  // The rules box's six lines of general text at y = 5 + 16 n from x = 20;
  // the selector's nine numbers in the middle of their buttons; the score
  // box's points at x = 80 on the rows of games 4 and 8 (30 n + 5).
  struct Area {
    TSurfaceWidget* widget;
    QRect text;
  };
  const Area texts[] = {
      {form->largemsgbox, QRect(20, 5, 500, 6 * 16)},
      {form->gameselbtn, QRect(5, 5, 40, 9 * 30 - 5)},
      {form->scoreBox, QRect(80, 30 * 3 + 5, 24, 16)},
      {form->scoreBox, QRect(80, 30 * 7 + 5, 24, 16)},
  };
  for (const Area& a : texts) {
    const int split = SplitBlocks(screen, a.widget, a.text, k);
    if (k == 1) {
      ExpectSurfaceAsBlocks(screen, a.widget, a.text, k);
    } else {
      // A letter's edge at the screen's resolution falls inside blocks.
      EXPECT_GE(split, 8) << a.widget->objectName().toStdString() << " at " << a.text.y();
    }
  }
  // The engine's shapes: the whole board, the rules box's frame (its outer
  // rows and columns), the score box's stars (the first 60 pixels of the
  // row of game 4) and the selector's button edges (its outer rows).
  const QRect box = form->largemsgbox->rect();
  const Area shapes[] = {
      {form->box1, form->box1->rect()},
      {form->largemsgbox, QRect(0, 0, box.width(), 2)},
      {form->largemsgbox, QRect(0, box.height() - 2, box.width(), 2)},
      {form->largemsgbox, QRect(0, 0, 2, box.height())},
      {form->scoreBox, QRect(0, 30 * 3 + 5, 60, 30)},
      {form->gameselbtn, QRect(0, 0, form->gameselbtn->width(), 6)},
  };
  for (const Area& a : shapes) ExpectSurfaceAsBlocks(screen, a.widget, a.text, k);
}

TEST_F(SharpTextTest, HelpTextIsDrawnAtTheScreensResolution) {
  Thelpform help(form.get());
  help.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&help));
  QTest::qWait(100);
  const QImage screen = ScreenOf(&help);
  // The first page's body: 24 lines of 20 pixels from y = 20.
  const QRect body(10, 20, help.helpbox->width() - 20, 20 * 12);
  if (k == 1) {
    ExpectSurfaceAsBlocks(screen, help.helpbox, body, k);
  } else {
    EXPECT_GE(SplitBlocks(screen, help.helpbox, body, k), 200);
    // Its frame, drawn by the engine: blocks.
    ExpectSurfaceAsBlocks(screen, help.helpbox, QRect(0, 0, help.helpbox->width(), 2), k);
  }
}

}  // namespace
