// SPDX-License-Identifier: GPL-3.0-or-later
// The main window on a screen that asks for a scale factor: an X server of
// a given density (Xft.dpi, run through xvfb_run.sh) or QT_SCALE_FACTOR
// offscreen. The factor is rounded to a whole number (1.25 gives 1, 1.5 and
// up give 2): the window is that many device pixels per pixel, every pixel
// of the board is a square block of that size on the screen, and a drag
// made with the real pointer lands on the cell under it. Each run names
// the factor it must get in ZAM_EXPECTED_FACTOR, worked out by hand from
// the density it sets up.
#include <gtest/gtest.h>

#include <QApplication>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWindow>
#include <cstdlib>
#include <memory>
#include <string>

#include "base/Random.h"
#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "games/coinboard.h"
#include "shell/Unit1.h"
#include "shell/commandline.h"
#include "shell/gamecontrol.h"
#include "temp_folder.h"

namespace {

class HighDensityTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* expected = std::getenv("ZAM_EXPECTED_FACTOR");
    ASSERT_TRUE(expected && (expected == std::string("1") || expected == std::string("2")))
        << "ZAM_EXPECTED_FACTOR must say the whole factor this screen is to get (1 or 2)";
    k = std::atoi(expected);
    zam::RandSeed(20261210);
    form = std::make_unique<TForm1>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QTest::qWait(100);
  }
  void TearDown() override { form.reset(); }
  TGameController& Controller() { return form->Controller(); }

  // The window as the X server shows it, in device pixels; offscreen, as the
  // window paints itself.
  QImage Screen() const {
    const QPixmap shot = QGuiApplication::platformName() == QLatin1String("offscreen")
                             ? form->grab()
                             : form->screen()->grabWindow(form->winId());
    return shot.toImage().convertToFormat(QImage::Format_RGB32);
  }
  // Where board pixel (x, y) begins on the screen, in device pixels.
  QPoint DeviceOnScreen(int x, int y) const {
    const QPoint global = form->box1->mapToGlobal(QPoint(0, 0));
    return global * k + QPoint(k * x, k * y);
  }
  // The real pointer, through the X server's test extension.
  static void Pointer(const QStringList& args) {
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), args), 0) << args.join(' ').toStdString();
    QTest::qWait(30);
  }

  int k = 0;  // the whole factor the screen must get
  InTempFolder folder;
  std::unique_ptr<TForm1> form;
};

TEST_F(HighDensityTest, TheWindowIsScaledByAWholeFactor) {
  EXPECT_EQ(form->windowHandle()->devicePixelRatio(), qreal(k));
  EXPECT_EQ(form->size(), QSize(860, 689));
  EXPECT_EQ(Screen().size(), QSize(860 * k, 689 * k));
}

TEST_F(HighDensityTest, EveryBoardPixelIsASquareBlock) {
  const QImage screen = Screen();
  const QPoint origin = form->box1->mapTo(form.get(), QPoint(0, 0)) * k;
  const QImage& board = form->Board().ComposeBitmap.Image();
  ASSERT_EQ(board.size(), QSize(641, 481));
  ASSERT_GE(screen.width(), origin.x() + 641 * k);
  ASSERT_GE(screen.height(), origin.y() + 481 * k);
  int differences = 0;
  for (int y = 0; y < board.height(); ++y)
    for (int x = 0; x < board.width(); ++x) {
      const QRgb want = board.pixel(x, y) | 0xFF000000u;
      for (int j = 0; j < k; ++j)
        for (int i = 0; i < k; ++i)
          if ((screen.pixel(origin.x() + k * x + i, origin.y() + k * y + j) | 0xFF000000u) != want &&
              ++differences <= 5)
            ADD_FAILURE() << "board pixel " << x << "," << y << " block pixel " << i << "," << j;
    }
  EXPECT_EQ(differences, 0);
}

TEST_F(HighDensityTest, ADragWithThePointerLandsOnTheCellUnderIt) {
  if (QProcess::execute(QStringLiteral("xdotool"), {QStringLiteral("version")}) != 0)
    GTEST_SKIP() << "xdotool is not installed";
  Controller().ChooseGame(1);  // game 2: the coin moved left or down
  Controller().DispatchEvent(ControllerEvent::EvAction);
  ASSERT_EQ(Controller().GameState(), TGameState::GsPlayerToMove);
  auto& game = *static_cast<TCoinGame*>(Controller().GameModule(1));
  game.SetCoin({8, 6});
  QTest::qWait(50);
  // Press in the coin's cell (board x 320..359, y 200..239), drag it along
  // its row five cells left, release in the middle of cell (3, 6). The
  // steps are whole device pixels, at factor 2 not whole board pixels.
  const QPoint start = DeviceOnScreen(340, 220);
  const auto at = [](QPoint p) { return QStringList{QString::number(p.x()), QString::number(p.y())}; };
  Pointer(QStringList{QStringLiteral("mousemove")} + at(start));
  Pointer({QStringLiteral("mousedown"), QStringLiteral("1")});
  for (int dx = 15; dx <= 200 * k; dx += 15)
    Pointer(QStringList{QStringLiteral("mousemove")} + at(start - QPoint(dx, 0)));
  const QPoint end = DeviceOnScreen(140, 220) + QPoint(1, 1);
  Pointer(QStringList{QStringLiteral("mousemove")} + at(end));
  Pointer({QStringLiteral("mouseup"), QStringLiteral("1")});
  for (int i = 0; i < 100 && Controller().GameState() == TGameState::GsPlayerToMove; ++i) QTest::qWait(10);
  // The player's move is made; the computer's slide has only begun.
  ASSERT_EQ(Controller().GameState(), TGameState::GsComputerMoving);
  EXPECT_EQ(game.Coin().column, 3);
  EXPECT_EQ(game.Coin().row, 6);
  form->Timer1.stop();
}

}  // namespace

// The program's own start: the scale factor handling of main().
int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  UseWholeScaleFactors();
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
