// SPDX-License-Identifier: GPL-3.0-or-later
// What the main window shows beside the board: the direction box with the
// arrows of the chosen game, the rules box, the score box with its total,
// and the start picture on the board itself.
#pragma once

#include <QStringList>
#include <cstdint>

#include "drawing/Xbitmap.h"
#include "games/GameModule.h"

class QLabel;
class TBoard;
class TPaintBox;

class TSidePanels {
 public:
  // The controls the panels paint on; any may be missing (nullptr).
  struct TControls {
    TPaintBox* rules = nullptr;         // largemsgbox
    TPaintBox* scores = nullptr;        // scoreBox
    TPaintBox* directions = nullptr;    // directionbox
    QLabel* total = nullptr;            // totalscore
    const QStringList* info = nullptr;  // items of infobox
  };
  explicit TSidePanels(const TControls& controls);

  TXBitmap DirectionBitmap{75, 75};
  TXBitmap ster;  // the star of the score box

  // The arrows of the given TDirection flags; none for 0.
  void DrawDirections(uint8_t directions);
  void PaintDirectionBox();  // the direction box's paint handler
  // The rules text block [index] of the info items.
  void PaintRulesBox(int index);
  // Stars and points of the nine levels, and the total.
  void PaintScoreBox(const uint8_t (&levels)[kGameCount]);
  void InvalidateScores();

 private:
  TControls controls_;
};

// The items of the hidden rules list: the block "[t]" of each game type t
// with the rules text of its catalogue line, the general text as block
// "[10]", then "[]" and two empty lines.
const QStringList& InfoItems();
// The lines of block [index] of those items, as the rules box shows them,
// in one text for a screen reader.
QString RulesText(int index);

// The score box in words, game by game ("spel 1: level 2, 2 punten; ..."),
// and the total of its points.
QString ScoresText(const uint8_t (&levels)[kGameCount]);
int TotalPoints(const uint8_t (&levels)[kGameCount]);

// The start picture, drawn into the board's ComposeBitmap.
void DrawWelcomeBoard(TBoard& board);
