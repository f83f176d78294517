// SPDX-License-Identifier: GPL-3.0-or-later
// The compositor, the piece images, arrows, rules and score boxes and the
// frame, on the real main window.
#include <QListWidget>
#include <QPainter>
#include <set>

#include "drawing/arrows.h"
#include "drawing/frames.h"
#include "shell/shell_fixture.h"

namespace {

uint32_t ScreenPixel(TForm1& f, int x, int y) { return f.box1->Surface().GetPixel(x, y); }

TEST_F(ShellTest, EmptyAreasDoNothingAndAFlushCopiesOnce) {
  form->Board().FlushStats = {};
  form->Board().ClearAreas();
  form->Board().RestoreBackground();
  form->Board().FlushScreen();
  EXPECT_EQ(form->Board().FlushStats.flushes, 0);
  form->Board().MarkDirty({10, 10, 20, 30});
  form->Board().FlushScreen();
  form->Board().FlushScreen();
  EXPECT_EQ(form->Board().FlushStats.flushes, 1);
  EXPECT_EQ(form->Board().FlushStats.pixels, 200);
}

TEST_F(ShellTest, TheBoardShowsExactlyWhatWasFlushed) {
  form->Board().ComposeBitmap.FillRect({100, 100, 140, 120}, 0x0000FF);
  form->Board().ComposeBitmap.FillRect({300, 300, 310, 310}, 0x00FF00);
  form->Board().UpdateArea = {{100, 100, 140, 120}, true};
  form->Board().FlushScreen();
  EXPECT_EQ(ScreenPixel(*form, 100, 100), 0xFF0000u);
  EXPECT_EQ(ScreenPixel(*form, 139, 119), 0xFF0000u);
  EXPECT_NE(ScreenPixel(*form, 305, 305), 0x00FF00u);  // drawn, never flushed
  // Restoring the background brings back what BackgroundBitmap holds there.
  form->Board().BackgroundBitmap.FillRect({100, 100, 140, 120}, 0xFFFFFF);
  form->Board().AddErase({100, 100, 120, 110});
  form->Board().RestoreBackground();
  EXPECT_EQ(form->Board().ComposeBitmap.GetPixel(110, 105), 0xFFFFFFu);
  EXPECT_EQ(ScreenPixel(*form, 110, 105), 0xFF0000u);
  form->Board().FlushScreen();
  EXPECT_EQ(ScreenPixel(*form, 110, 105), 0xFFFFFFu);
  EXPECT_EQ(ScreenPixel(*form, 130, 115), 0xFF0000u);
  // A full repaint of the board shows all of ComposeBitmap.
  form->box1->repaint();
  EXPECT_EQ(ScreenPixel(*form, 305, 305), 0x00FF00u);
  const QImage grab = form->box1->grab().toImage();
  EXPECT_EQ(grab.pixel(305, 305) & 0xFFFFFF, 0x00FF00u);
}

struct ArrowCase {
  int length;
  int shaftWidth, headLength;
};

TEST(Arrows, ShaftAndHeadSizes) {
  const ArrowCase cases[] = {{50, 6, 16}, {100, 10, 33}, {300, 10, 40}};
  for (const ArrowCase& c : cases) {
    TPoint pts[10];
    const TArrowGeometry g{10, 50, int16_t(10 + c.length), 50};
    ASSERT_EQ(ArrowPolygon(DirectionArrow, g, pts), 7);
    EXPECT_EQ(pts[5].y - pts[2].y, c.shaftWidth) << c.length;  // Q - (a, b) to Q + (a, b)
    EXPECT_EQ(pts[0].x - pts[2].x, c.headLength) << c.length;
    EXPECT_EQ(pts[6].y - pts[1].y, 3 * c.shaftWidth) << c.length;
  }
  TPoint pts[10];
  EXPECT_EQ(ArrowPolygon(DirectionArrow, {5, 5, 5, 5}, pts), 0);
  EXPECT_EQ(ArrowPolygon(DoubleDirectionArrow, ArrowBothWays, pts), 10);
  TXBitmap b(20, 20);
  b.FillRect({0, 0, 20, 20}, 0xFFFFFF);
  DrawArrow(b, DirectionArrow, {5, 5, 5, 5});
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x) ASSERT_EQ(b.GetPixel(x, y), 0xFFFFFFu);
}

TEST(Images, SnapToTransparent) {
  TXBitmap b(4, 1);
  b.SetPixel(0, 0, 0xFFFEF3);  // green one below: snaps
  b.SetPixel(1, 0, 0xFFFDF3);  // two below: stays
  b.SetPixel(2, 0, 0x80FFF2);  // red far off, blue one below
  b.SetPixel(3, 0, 0xFEFFF4);
  SnapToTransparent(b);
  EXPECT_EQ(b.GetPixel(0, 0), 0xFFFFF3u);
  EXPECT_EQ(b.GetPixel(1, 0), 0xFFFDF3u);
  EXPECT_EQ(b.GetPixel(2, 0), 0x80FFF3u);
  EXPECT_EQ(b.GetPixel(3, 0), 0xFFFFF3u);
  EXPECT_TRUE(b.Transparent);
  EXPECT_EQ(b.TransparentColor, TransparentColor);
  TXBitmap board(4, 1);
  board.FillRect({0, 0, 4, 1}, 0x000000);
  board.Draw(0, 0, b);
  EXPECT_EQ(board.GetPixel(0, 0), 0u);  // transparent
  EXPECT_EQ(board.GetPixel(1, 0), 0xFFFDF3u);
  EXPECT_EQ(board.GetPixel(2, 0), 0x80FFF3u);
}

TEST(Images, CoinIsARoundPieceOnTheTransparentGround) {
  TXBitmap coin(40, 40);
  BuildCoinSprite(coin);
  const uint32_t ground = SwapRB(TransparentColor);
  EXPECT_EQ(coin.GetPixel(0, 0), ground);
  EXPECT_EQ(coin.GetPixel(39, 39), ground);
  EXPECT_EQ(coin.GetPixel(20, 20), 0xC0C0C0u);  // silver face
  EXPECT_EQ(coin.GetPixel(5, 20), 0xE08000u);   // orange rim at x 15/3
  EXPECT_EQ(coin.GetPixel(2, 20), ground);
  TXBitmap can(40, 60);
  BuildCanSprite(can);
  EXPECT_EQ(can.GetPixel(2, 30), ground);
  EXPECT_NE(can.GetPixel(20, 30), ground);
}

TEST_F(ShellTest, WelcomePictureAndEmptyDirectionBox) {
  // Cans, balls and coins in rows; the general text in the rules box.
  EXPECT_NE(form->Board().ComposeBitmap.GetPixel(70, 130), 0xFFFFF0u);  // a can at (50, 100)
  EXPECT_NE(form->Board().ComposeBitmap.GetPixel(70, 210), 0xFFFFF0u);  // a ball at (50, 190)
  EXPECT_EQ(form->Board().ComposeBitmap.GetPixel(10, 470), 0xFFFFF0u);  // the pale ground
  form->directionbox->repaint();
  const TXBitmap& d = form->directionbox->Surface();
  for (int y = 0; y < 75; y += 5)
    for (int x = 0; x < 75; x += 5) ASSERT_EQ(d.GetPixel(x, y), 0xF0F0F0u);
  ChooseGame(2);
  form->directionbox->repaint();
  EXPECT_EQ(d.GetPixel(30, 15), 0xFFFF01u);  // yellow fill (level 1) of the left arrow
  ChooseGame(6);
  form->directionbox->repaint();
  EXPECT_EQ(d.GetPixel(60, 45), 0xF0F0F0u);  // no down arrow in game 7
}

// The arrows of every game, probed at points worked out from the arrow
// table: inside the shaft and inside the head of each arrow, and, for the
// double arrow, inside the second head at the tail. A probe shows the
// yellow fill (level 1) when its arrow is there and the window's ground
// when it is not. Probe points of different arrows lie apart.
TEST_F(ShellTest, EachGameShowsItsDirections) {
  constexpr uint32_t kYellow = 0xFFFF01, kButtonFace = 0xF0F0F0;
  enum { kLeft, kDown, kDiagonal, kBoth };
  const std::vector<QPoint> probes[4] = {
      {{38, 15}, {15, 15}},            // left: shaft y 12..18 from x 21, head from x 5
      {{60, 25}, {60, 62}},            // down: shaft x 57..63, head from y 54 to 70
      {{46, 29}, {24, 51}, {10, 65}},  // down-left: along x + y = 75, head from (20, 55)
      {{45, 40}, {66, 40}, {26, 35}},  // both ways: shaft y 37..43, heads 23 long
  };
  struct Game {
    int type;
    std::set<int> arrows;
  } games[] = {
      {0, {}},      {1, {kLeft, kDown}}, {2, {kLeft, kDown, kDiagonal}},
      {3, {kBoth}}, {4, {kBoth}},        {5, {kBoth}},
      {6, {kLeft}}, {7, {kLeft}},        {8, {kBoth}},
  };
  const TXBitmap& d = form->directionbox->Surface();
  for (const Game& g : games) {
    ChooseGame(g.type);
    form->directionbox->repaint();
    for (int a = 0; a < 4; ++a)
      for (QPoint p : probes[a])
        EXPECT_EQ(d.GetPixel(p.x(), p.y()), g.arrows.count(a) ? kYellow : kButtonFace)
            << "game " << g.type + 1 << ", arrow " << a << " at " << p.x() << "," << p.y();
  }
}

// Lines of text in the rules box, as bands of rows with dark pixels.
int TextLines(const TXBitmap& s) {
  int lines = 0;
  bool inText = false;
  for (int y = 1; y < s.Height() - 1; ++y) {
    bool dark = false;
    for (int x = 1; x < s.Width() - 1 && !dark; ++x) dark = s.GetPixel(x, y) < 0x404040;
    if (dark && !inText) ++lines;
    inText = dark;
  }
  return lines;
}

TEST_F(ShellTest, RulesBoxLines) {
  const struct { int index, lines; } cases[] = {{10, 6}, {6, 5}, {0, 3}, {3, 4}, {9, 0}};
  for (const auto& c : cases) {
    form->Panels().PaintRulesBox(c.index);
    EXPECT_EQ(TextLines(form->largemsgbox->Surface()), c.lines) << c.index;
    EXPECT_EQ(form->largemsgbox->Surface().GetPixel(0, 0), 0xC00000u);  // dark red outline
    EXPECT_EQ(form->largemsgbox->Surface().GetPixel(5, 60), 0xFFFFF0u);
  }
}

TEST_F(ShellTest, ScoreBoxStarsAndTotal) {
  SetLevel(0, 5);
  SetLevel(8, 2);
  Controller().RefreshScores();
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("23"));
  const TXBitmap& s = form->scoreBox->Surface();
  auto starsIn = [&](int row) {
    int n = 0;
    for (int k = 0; k < 5; ++k) n += s.GetPixel(15 * k + 8, 30 * row + 5 + 8) != 0xF0F0F0u;
    return n;
  };
  EXPECT_EQ(starsIn(0), 5);
  EXPECT_EQ(starsIn(8), 2);
  EXPECT_EQ(starsIn(1), 0);
  Controller().ClearLevels();
  Controller().RefreshScores();
  EXPECT_EQ(starsIn(0), 0);
  EXPECT_EQ(form->totalscore->text(), QStringLiteral("0"));
}

TEST_F(ShellTest, FrameAroundTheBoard) {
  const QImage w = form->grab().toImage();
  auto rgb = [&](int x, int y) { return w.pixel(x, y) & 0xFFFFFF; };
  // (6, 134, 666, 634): outer ring yellow top/left, orange bottom/right.
  EXPECT_EQ(rgb(300, 134), 0xFFFF00u);
  EXPECT_EQ(rgb(6, 300), 0xFFFF00u);
  EXPECT_EQ(rgb(300, 633), 0xFF8000u);
  EXPECT_EQ(rgb(665, 300), 0xFF8000u);
  // Inner ring (i = 9) the other way round; its bottom and right edges lie
  // under the board, so ring 8 shows there.
  EXPECT_EQ(rgb(300, 143), 0xFF8000u);
  EXPECT_EQ(rgb(15, 300), 0xFF8000u);
  EXPECT_EQ(rgb(300, 625), 0xFFF000u);
  EXPECT_EQ(rgb(657, 300), 0xFFF000u);
  // Green steps by about 14 per ring.
  EXPECT_EQ(rgb(300, 135), 0xFFF100u);
}

// The four frame styles, ring by ring: first colour on the top and left
// edges, second on the bottom and right.
TEST(Frames, FourStyles) {
  struct Case {
    int style;
    uint32_t outerFirst, outerSecond, innerFirst, innerSecond;  // as 0x00RRGGBB
  } cases[] = {
      {0, 0xCFCFCF, 0xCFCFCF, 0xCFCFCF, 0xCFCFCF},
      {1, 0xFFFF00, 0xFF8000, 0xFFFF00, 0xFF8000},
      {2, 0xFFFF00, 0xFF8000, 0xFF8000, 0xFFFF00},
      {3, 0xFFFF00, 0xFF8000, 0xFF8000, 0xFFFF00},
  };
  for (const Case& c : cases) {
    QImage img(60, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
      QPainter p(&img);
      DrawFrame(p, {0, 0, 50, 30}, 0x00FFFF, 0x0080FF, c.style, 4);
    }
    auto at = [&](int x, int y) { return img.pixel(x, y) & 0xFFFFFF; };
    EXPECT_EQ(at(20, 0), c.outerFirst) << c.style;    // top, ring 0
    EXPECT_EQ(at(0, 15), c.outerFirst) << c.style;    // left
    EXPECT_EQ(at(20, 29), c.outerSecond) << c.style;  // bottom
    EXPECT_EQ(at(49, 15), c.outerSecond) << c.style;  // right
    EXPECT_EQ(at(20, 3), c.innerFirst) << c.style;    // top, ring 3
    EXPECT_EQ(at(20, 26), c.innerSecond) << c.style;  // bottom, ring 3
    EXPECT_EQ(at(50, 15), 0xFFFFFFu) << c.style;      // right and bottom exclusive
    EXPECT_EQ(at(20, 30), 0xFFFFFFu) << c.style;
  }
  EXPECT_EQ(FrameBounds(QRect(16, 144, 641, 481), 10), (TRect{6, 134, 666, 634}));
}

TEST_F(ShellTest, InfoboxHoldsTheRulesTexts) {
  EXPECT_FALSE(form->infobox->isVisible());
  EXPECT_EQ(form->infobox->count(), 53);
  EXPECT_EQ(form->infobox->item(37)->text(),
            QStringLiteral("Winnaar is degene die de ' \u20AC ' munt uit het spel haalt."));
}

}  // namespace
