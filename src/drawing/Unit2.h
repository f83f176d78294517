// SPDX-License-Identifier: GPL-3.0-or-later
// The board compositor: the two board bitmaps and the dirty-rectangle
// protocol that moves the changed parts of the board to the screen. The
// shell owns one TBoard and hands it to every game module; a game draws
// resting pieces into BackgroundBitmap and moving pieces into ComposeBitmap,
// marks what it changed, and FlushScreen copies only the union of the
// changed rectangles to the screen.
#pragma once

#include <cstdint>

#include "drawing/Xbitmap.h"

constexpr uint32_t TransparentColor = 0xF3FFFF;  // 0x00BBGGRR
constexpr uint32_t ButtonFaceColor = 0xF0F0F0;   // the windows' background

struct TArea {
  TRect rect;
  bool valid = false;
};
void AddToArea(TArea& area, const TRect& r);

// What FlushScreen has copied so far (for measuring the screen traffic).
struct TFlushStats {
  long long flushes = 0;
  long long pixels = 0;
  TRect last{0, 0, 0, 0};
};

// Where FlushScreen puts the changed part of the board: the board control
// on the main window, or whatever a test puts there.
class TBoardScreen {
 public:
  virtual ~TBoardScreen() = default;
  virtual void ShowBoard(const TXBitmap& compose, const TRect& r) = 0;
  // The whole board is to be painted again from ComposeBitmap.
  virtual void RepaintBoard() = 0;
};

class TBoard {
 public:
  static constexpr int kWidth = 641, kHeight = 481;
  explicit TBoard(TBoardScreen* screen = nullptr, int width = kWidth, int height = kHeight)
      : BackgroundBitmap(width, height), ComposeBitmap(width, height), screen_(screen) {}
  TBoard(const TBoard&) = delete;
  TBoard& operator=(const TBoard&) = delete;

  TXBitmap BackgroundBitmap;  // the resting pieces
  TXBitmap ComposeBitmap;     // the background with the moving pieces on it
  TArea EraseArea;            // to restore from BackgroundBitmap into ComposeBitmap
  TArea UpdateArea;           // to copy from ComposeBitmap to the screen
  TFlushStats FlushStats;

  void SetScreen(TBoardScreen* screen) { screen_ = screen; }
  void AddErase(const TRect& r);   // EraseArea only (after drawing into the background)
  void AddUpdate(const TRect& r);  // UpdateArea only (after drawing into ComposeBitmap)
  void MarkDirty(const TRect& r);  // both areas
  void RestoreBackground();
  void FlushScreen();
  void ClearAreas();
  // The whole background becomes the board on the screen, and nothing is
  // left marked (a game's fresh board).
  void ShowBackground();
  // ComposeBitmap was drawn as a whole: the screen paints it all again.
  void Invalidate() {
    if (screen_) screen_->RepaintBoard();
  }

 private:
  TBoardScreen* screen_;
};
