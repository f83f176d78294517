// The board compositor and everything the main window and the games draw
// with in common: the board bitmaps and the dirty-rectangle protocol that
// moves changed parts of the board to the screen, the piece images, the
// arrows of the direction box, the start picture, the rules text, the score
// box and the gradient frame.
#pragma once

#include <QPainter>
#include <QString>
#include <QStringList>
#include <memory>

#include "drawing/Xbitmap.h"

class QLabel;
class TPaintBox;

constexpr uint32_t TransparentColor = 0xF3FFFF;  // 0x00BBGGRR
constexpr uint32_t ButtonFaceColor = 0xF0F0F0;   // the windows' background

// ---- bitmaps (created and freed by the main window) ----------------------
extern std::unique_ptr<TXBitmap> BackgroundBitmap;  // 641 x 481
extern std::unique_ptr<TXBitmap> ComposeBitmap;     // 641 x 481
extern std::unique_ptr<TXBitmap> DirectionBitmap;   // 75 x 75
extern std::unique_ptr<TXBitmap> CoinSprite, CoinOSprite, CoinXSprite, CoinEuroSprite, CanSprite,
    BallSprite, RingSprite;

// The controls the painting routines draw on, set by the main window.
struct TBoardControls {
  TPaintBox* board = nullptr;         // box1: shows what FlushScreen copied
  TPaintBox* rules = nullptr;         // largemsgbox
  TPaintBox* scores = nullptr;        // scoreBox
  TPaintBox* directions = nullptr;    // directionbox
  QLabel* total = nullptr;            // totalscore
  const QStringList* info = nullptr;  // items of infobox
  const TXBitmap* star = nullptr;     // ster
};
extern TBoardControls BoardControls;

// ---- compositor ------------------------------------------------------------
struct TArea {
  TRect rect;
  bool valid = false;
};
extern TArea EraseArea;   // to restore from BackgroundBitmap into ComposeBitmap
extern TArea UpdateArea;  // to copy from ComposeBitmap to the board

// What FlushScreen has copied so far (for measuring the screen traffic).
struct TFlushStats {
  long long flushes = 0;
  long long pixels = 0;
  TRect last{0, 0, 0, 0};
};
extern TFlushStats FlushStats;

void AddToArea(TArea& area, const TRect& r);
void AddErase(const TRect& r);   // EraseArea only (after drawing into the background)
void MarkDirty(const TRect& r);  // both areas
void RestoreBackground();
void FlushScreen();
void ClearAreas();

// ---- images ------------------------------------------------------------------
void ClearToTransparent(TXBitmap& bitmap);
void SnapToTransparent(TXBitmap& bitmap);
void BuildCoinSprite(TXBitmap& image);
void BuildCoinOSprite(TXBitmap& image);
void BuildCoinXSprite(TXBitmap& image);
void BuildCoinEuroSprite(TXBitmap& image);
void BuildCanSprite(TXBitmap& image);
void BuildBallSprite(TXBitmap& image);
void BuildRingSprite(TXBitmap& image);
// The 16 x 16 star of the score box: an orange star on a pale yellow ground.
void BuildStarPicture(TXBitmap& image);

struct TArrowStyle {
  uint8_t flags;  // bit 0 filled, bit 1 double-headed
  uint8_t penWidth;
  uint32_t penColor, fillColor;
};
struct TArrowGeometry {
  int16_t x1, y1, x2, y2;  // tail, head
};
extern const TArrowStyle WelcomeArrow, DirectionArrow, DoubleDirectionArrow;
extern const TArrowGeometry ArrowToSelector, ArrowToNameBox, ArrowLeft, ArrowDown, ArrowDiagonal,
    ArrowBothWays;

// The arrow's outline: 7 points, or 10 for a double-headed arrow; none for
// an arrow of length 0.
int ArrowPolygon(const TArrowStyle& style, const TArrowGeometry& g, TPoint (&points)[10]);
void DrawArrow(TXBitmap& target, const TArrowStyle& style, const TArrowGeometry& g);
// The arrows of the direction box, as flags.
enum TDirection : uint8_t {
  DirLeft = 1,
  DirDown = 2,
  DirDiagonal = 4,  // down and to the left
  DirBothWays = 8,  // left and right: one double-headed arrow
};
// The arrows of the given TDirection flags; none for 0.
void DrawDirections(uint8_t directions);
void DrawWelcomeBoard();
void PaintRulesBox(int index);
// Stars and points of the nine levels, and the total.
void PaintScoreBox(const uint8_t (&levels)[9]);

// ---- frames ------------------------------------------------------------------
// The frame rectangle around a box; right and bottom inclusive.
TRect FrameBounds(const QRect& box, int margin);
// Rings of one-pixel lines around r on a window's surface (styles 0..3).
void DrawFrame(QPainter& surface, const TRect& r, uint32_t colourA, uint32_t colourB, int style,
               int count);
