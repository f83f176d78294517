#include "drawing/Unit2.h"

#include <QLabel>
#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "drawing/PaintBox.h"

std::unique_ptr<TXBitmap> BackgroundBitmap, ComposeBitmap, DirectionBitmap;
std::unique_ptr<TXBitmap> CoinSprite, CoinOSprite, CoinXSprite, CoinEuroSprite, CanSprite,
    BallSprite, RingSprite;
TBoardControls BoardControls;
TArea EraseArea, UpdateArea;
TFlushStats FlushStats;

const TArrowStyle WelcomeArrow{1, 2, 0xC0C0C0, 0xF0F0F0};
const TArrowStyle DirectionArrow{1, 2, 0x0000FF, 0x00FFFF};
const TArrowStyle DoubleDirectionArrow{3, 2, 0x0000FF, 0x00FFFF};
const TArrowGeometry ArrowToSelector{525, 50, 625, 50};
const TArrowGeometry ArrowToNameBox{525, 380, 625, 380};
const TArrowGeometry ArrowLeft{55, 15, 5, 15};
const TArrowGeometry ArrowDown{60, 20, 60, 70};
const TArrowGeometry ArrowDiagonal{50, 25, 5, 70};
const TArrowGeometry ArrowBothWays{5, 40, 75, 40};

// ---- compositor ----------------------------------------------------------------

void AddToArea(TArea& area, const TRect& r) {
  area.rect = area.valid ? RectUnion(area.rect, r) : r;
  area.valid = true;
}

void AddErase(const TRect& r) { AddToArea(EraseArea, r); }

void MarkDirty(const TRect& r) {
  AddToArea(EraseArea, r);
  AddToArea(UpdateArea, r);
}

void RestoreBackground() {
  if (!EraseArea.valid) return;
  EraseArea.valid = false;
  const TRect& r = EraseArea.rect;
  ComposeBitmap->CopyRect(r.Left, r.Top, *BackgroundBitmap, r);
  AddToArea(UpdateArea, r);
}

void FlushScreen() {
  if (!UpdateArea.valid) return;
  UpdateArea.valid = false;
  const TRect r = RectIntersection(UpdateArea.rect, ComposeBitmap->ClipRect());
  if (r.Right <= r.Left || r.Bottom <= r.Top) return;
  ++FlushStats.flushes;
  FlushStats.pixels += (long long)(r.Right - r.Left) * (r.Bottom - r.Top);
  FlushStats.last = r;
  if (TPaintBox* board = BoardControls.board) {
    board->Surface().CopyRect(r.Left, r.Top, *ComposeBitmap, r);
    board->Show(r);
  }
}

void ClearAreas() {
  EraseArea.valid = false;
  UpdateArea.valid = false;
}

// ---- images ------------------------------------------------------------------------

void ClearToTransparent(TXBitmap& bitmap) {
  bitmap.FillRect({0, 0, bitmap.Width(), bitmap.Height()}, TransparentColor);
}

void SnapToTransparent(TXBitmap& bitmap) {
  const uint32_t key = SwapRB(TransparentColor);
  for (int y = 0; y < bitmap.Height(); ++y) {
    for (int x = 0; x < bitmap.Width(); ++x) {
      uint32_t v = bitmap.GetPixel(x, y);
      for (int shift = 0; shift < 24; shift += 8) {
        const int have = int((v >> shift) & 0xFF), want = int((key >> shift) & 0xFF);
        if (std::abs(have - want) == 1) v = (v & ~(0xFFu << shift)) | (uint32_t(want) << shift);
      }
      bitmap.SetPixel(x, y, v);
    }
  }
  bitmap.Transparent = true;
  bitmap.TransparentColor = TransparentColor;
}

namespace {

uint32_t Grey(int g) { return uint32_t(g) * 0x010101u; }

// Draws a piece at three times the image's size, reduces it and snaps the
// near-transparent edge pixels.
template <class Draw>
void BuildImage(TXBitmap& image, Draw draw) {
  TXBitmap big(image.Width() * 3, image.Height() * 3);
  ClearToTransparent(big);
  draw(big);
  image.CopyScaled({0, 0, image.Width(), image.Height()}, big, {0, 0, big.Width(), big.Height()});
  SnapToTransparent(image);
}

// A round coin with a 6-pixel rim, on the three-times-size bitmap.
void DrawCoinBody(TXBitmap& b, uint32_t rim, uint32_t face) {
  b.SetPenLevel(0);
  b.SetFillLevel(0);
  b.Filled = true;
  b.SetPenColor(rim);
  b.SetPenWidth(6);
  b.SetFillColor(face);
  b.Ellipse(15, 15, 105, 105);
}

void DrawCoin(TXBitmap& b) { DrawCoinBody(b, 0x0080E0, 0xC0C0C0); }

void Letter(TXBitmap& image, const QString& letter) {
  const QFont font = MakeFont(QStringLiteral("arial"), 30, true);
  image.TextOut(13, 5, letter, font, 0x000000);
  image.TextOut(10, 5, letter, font, 0xF0F0F0);
}

}  // namespace

void BuildCoinSprite(TXBitmap& image) { BuildImage(image, DrawCoin); }

void BuildCoinOSprite(TXBitmap& image) {
  BuildImage(image, DrawCoin);
  Letter(image, QStringLiteral("O"));
}

void BuildCoinXSprite(TXBitmap& image) {
  BuildImage(image, DrawCoin);
  Letter(image, QStringLiteral("X"));
}

void BuildCoinEuroSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    DrawCoinBody(b, 0x808080, 0x00B0FF);
    const QFont font = MakeFont(QStringLiteral("arial"), 80, true);
    b.TextOut(40, 23, QStringLiteral("\u20AC"), font, 0x000000);
    b.TextOut(34, 20, QStringLiteral("\u20AC"), font, 0x0060C0);
  });
}

void BuildCanSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    b.SetPenLevel(0);
    b.SetFillLevel(0);
    b.SetFillColor(0xC0C0C0);
    b.Filled = true;
    b.SetPenWidth(3);
    for (int x = 15; x <= 105; ++x) {
      const int v = 30 + int(0.333 * std::sqrt(double(2025 - (x - 60) * (x - 60))));
      b.SetPenColor(Grey(255 - 2 * std::abs(45 - x)));
      b.Line(x, v, x, v + 120);
    }
    b.SetPenWidth(6);
    b.Ellipse(15, 15, 105, 45);
    b.Arc(15, 135, 105, 165, 15, 150, 105, 150);
  });
}

void BuildBallSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    b.SetPenWidth(1);
    b.SetPenLevel(0);
    for (int x = 0; x < 120; ++x) {
      for (int y = 0; y < 120; ++y) {
        if (int(std::sqrt(double((60 - x) * (60 - x) + (60 - y) * (60 - y)))) > 45) continue;
        const int d = int(std::sqrt(double((x - 45) * (x - 45) + (y - 45) * (y - 45))));
        b.SetPenColor(Grey(200 - 2 * d));
        b.Dot(x, y);
      }
    }
  });
}

void BuildRingSprite(TXBitmap& image) {
  BuildImage(image, [](TXBitmap& b) {
    b.SetPenLevel(0);
    b.Filled = false;
    b.SetPenColor(0x808080);
    b.SetPenWidth(6);
    b.SetDashStyle(1);
    b.Ellipse(15, 15, 105, 105);
  });
}

void BuildStarPicture(TXBitmap& image) {
  image.SetSize(16, 16);
  image.FillRect({0, 0, 16, 16}, 0xC0FFFF);  // pale yellow ground
  TPoint star[10];
  for (int i = 0; i < 10; ++i) {
    const double angle = -M_PI / 2 + i * M_PI / 5;
    const double radius = i % 2 == 0 ? 7.6 : 3.1;
    star[i] = {int(std::lround(7.5 + radius * std::cos(angle))),
               int(std::lround(8.0 + radius * std::sin(angle)))};
  }
  image.SetPenLevel(0);
  image.SetFillLevel(0);
  image.Filled = true;
  image.SetPenWidth(1);
  image.SetPenColor(0x0060E0);
  image.SetFillColor(0x00A0FF);
  image.Polygon(star, 9);
  // The ground is the transparent colour: whatever the top-left pixel holds.
  image.Transparent = true;
  image.TransparentColor = SwapRB(image.GetPixel(0, 0));
}

// ---- arrows ----------------------------------------------------------------------

int ArrowPolygon(const TArrowStyle& style, const TArrowGeometry& g, TPoint (&pts)[10]) {
  const int x1 = g.x1, y1 = g.y1, x2 = g.x2, y2 = g.y2;
  const float dx = float(x2 - x1), dy = float(y1 - y2);  // y up
  const float L = std::sqrt(dx * dx + dy * dy);
  if (L == 0) return 0;
  const float w = std::clamp(L / 10.0f, 6.0f, 10.0f) / 2.0f;  // half the shaft
  const float h = std::min(L / 3.0f, 40.0f);                  // length of a head
  const float s = dy / L, c = dx / L;
  const int a = int(w * s), b = int(w * c);  // across the arrow
  const TPoint P{x1 + int(h * c), y1 - int(h * s)};
  const TPoint Q{x2 - int(h * c), y2 + int(h * s)};
  auto off = [&](TPoint v, int k) { return TPoint{v.x + k * a, v.y + k * b}; };
  if (style.flags & 2) {
    const TPoint list[10] = {{x2, y2}, off(Q, -3), off(Q, -1), off(P, -1), off(P, -3),
                             {x1, y1}, off(P, 3),  off(P, 1),  off(Q, 1),  off(Q, 3)};
    std::copy(list, list + 10, pts);
    return 10;
  }
  const TPoint list[7] = {{x2, y2},         off(Q, -3), off(Q, -1), {x1 - a, y1 - b},
                          {x1 + a, y1 + b}, off(Q, 1),  off(Q, 3)};
  std::copy(list, list + 7, pts);
  return 7;
}

void DrawArrow(TXBitmap& target, const TArrowStyle& style, const TArrowGeometry& g) {
  TPoint pts[10];
  const int n = ArrowPolygon(style, g, pts);
  if (n == 0) return;
  target.SetPenColor(style.penColor);
  target.SetPenLevel(0);
  target.SetFillLevel(1);
  target.Filled = style.flags & 1;
  if (target.Filled) target.SetFillColor(style.fillColor);
  target.SetPenWidth(style.penWidth);
  target.SetDashStyle(0);
  target.Polygon(pts, n - 1);
}

void DrawDirections(uint8_t directions) {
  ClearToTransparent(*DirectionBitmap);
  if (directions & DirLeft) DrawArrow(*DirectionBitmap, DirectionArrow, ArrowLeft);
  if (directions & DirDown) DrawArrow(*DirectionBitmap, DirectionArrow, ArrowDown);
  if (directions & DirDiagonal) DrawArrow(*DirectionBitmap, DirectionArrow, ArrowDiagonal);
  if (directions & DirBothWays) DrawArrow(*DirectionBitmap, DoubleDirectionArrow, ArrowBothWays);
  if (BoardControls.directions) BoardControls.directions->Invalidate();
}

void DrawWelcomeBoard() {
  TXBitmap& b = *ComposeBitmap;
  b.FillRect({0, 0, b.Width(), b.Height()}, 0xF0FFFF);
  const QFont font = MakeFont(QStringLiteral("arial"), 50, false);
  b.TextOut(220, 25, QStringLiteral("selecteer spel"), font, 0xC0C0C0);
  DrawArrow(b, WelcomeArrow, ArrowToSelector);
  b.TextOut(375, 350, QStringLiteral("naam"), font, 0xC0C0C0);
  DrawArrow(b, WelcomeArrow, ArrowToNameBox);
  for (int i = 0; i <= 10; ++i) {
    const int x = 50 + 50 * i;
    b.Draw(x, 100, *CanSprite);
    b.Draw(x, 190, *BallSprite);
    b.Draw(x, 250, *CoinOSprite);
    b.Draw(x, 300, i == 5 ? *CoinEuroSprite : *CoinXSprite);
  }
  if (BoardControls.board) BoardControls.board->Invalidate();
}

// ---- rules and scores -------------------------------------------------------------

namespace {
// Outline of a rectangle, right and bottom exclusive, one pixel wide.
void FrameRect(TXBitmap& b, const TRect& r, uint32_t colour) {
  b.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, colour);
  b.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, colour);
  b.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, colour);
  b.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, colour);
}

}  // namespace

void PaintRulesBox(int index) {
  TPaintBox* box = BoardControls.rules;
  if (!box) return;
  TXBitmap& s = box->Surface();
  s.FillRect({0, 0, s.Width(), s.Height()}, 0xF0FFFF);
  FrameRect(s, {0, 0, s.Width(), s.Height()}, 0x0000C0);
  if (BoardControls.info) {
    const QFont font = PixelFont(QStringLiteral("Arial"), 13, false);
    bool inSection = false;
    int k = 0;
    for (const QString& item : *BoardControls.info) {
      const bool header = item.startsWith(QLatin1Char('['));
      if (!inSection) {
        if (!header) continue;
        bool ok = false;
        const int number = item.mid(1, item.size() - 2).toInt(&ok);
        inSection = ok && number == index;
        continue;
      }
      if (header) break;
      s.TextOut(20, 5 + 16 * k, item, font, 0x000000);
      ++k;
    }
  }
  box->Show({0, 0, box->width(), box->height()});  // painted already: just show it
}

void PaintScoreBox(const uint8_t (&levels)[9]) {
  int total = 0;
  if (TPaintBox* box = BoardControls.scores) {
    TXBitmap& s = box->Surface();
    const QFont font = PixelFont(QStringLiteral("MS Sans Serif"), 13, true);
    for (int i = 0; i < 9; ++i) {
      const int level = levels[i], top = 30 * i + 5;
      s.FillRect({0, top, s.Width(), top + 30}, ButtonFaceColor);
      if (level > 0) {
        for (int k = 0; k < level && BoardControls.star; ++k)
          s.Draw(15 * k, top, *BoardControls.star);
        s.TextOut(80, top, QString::number((i + 1) * level), font, 0x000000);
      }
      total += (i + 1) * level;
    }
    box->Show({0, 0, box->width(), box->height()});  // painted already: just show it
  } else {
    for (int i = 0; i < 9; ++i) total += (i + 1) * levels[i];
  }
  if (BoardControls.total) BoardControls.total->setText(QString::number(total));
}

// ---- frames ---------------------------------------------------------------------

TRect FrameBounds(const QRect& box, int margin) {
  return {box.left() - margin, box.top() - margin, box.left() + box.width() + margin - 1,
          box.top() + box.height() + margin - 1};
}

namespace {
// Pen position and one-pixel lines that leave out their end pixel, along
// rows and columns.
struct TLinePen {
  QPainter& p;
  int x = 0, y = 0;
  void MoveTo(int nx, int ny) {
    x = nx;
    y = ny;
  }
  void LineTo(int nx, int ny) {
    if (ny == y && nx != x) {
      const int a = nx > x ? x : nx + 1, b = nx > x ? nx - 1 : x;
      p.fillRect(QRect(a, y, b - a + 1, 1), p.pen().color());
    } else if (nx == x && ny != y) {
      const int a = ny > y ? y : ny + 1, b = ny > y ? ny - 1 : y;
      p.fillRect(QRect(x, a, 1, b - a + 1), p.pen().color());
    }
    MoveTo(nx, ny);
  }
};
}  // namespace

void DrawFrame(QPainter& surface, const TRect& r, uint32_t colourA, uint32_t colourB, int style,
               int count) {
  auto channel = [](uint32_t c, int shift) { return int((c >> shift) & 0xFF); };
  float step[3] = {0, 0, 0};
  if (count >= 2)
    for (int ch = 0; ch < 3; ++ch)
      step[ch] = float(channel(colourB, 8 * ch) - channel(colourA, 8 * ch)) / float(count - 1);
  TLinePen pen{surface};
  for (int i = 0; i < count; ++i) {
    uint32_t first = colourA, second = colourB;
    switch (style) {
      case 0:
        first = second = 0xCFCFCF;
        break;
      case 2:
        if (i >= count / 2) std::swap(first, second);
        break;
      case 3:
        first = second = 0;
        for (int ch = 0; ch < 3; ++ch) {
          const int d = int(float(i) * step[ch]);
          first |= uint32_t(channel(colourA, 8 * ch) + d) << (8 * ch);
          second |= uint32_t(channel(colourB, 8 * ch) - d) << (8 * ch);
        }
        break;
      default:
        break;
    }
    surface.setPen(ToQColor(first));
    pen.MoveTo(r.Right - 1 - i, r.Top + i);
    pen.LineTo(r.Left + i, r.Top + i);
    pen.LineTo(r.Left + i, r.Bottom - 1 - i);
    surface.setPen(ToQColor(second));
    pen.LineTo(r.Right - 1 - i, r.Bottom - 1 - i);
    pen.LineTo(r.Right - 1 - i, r.Top + i);
  }
}
