// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's move cursor, one piece for all nine games: the arrow keys
// step through the player's legal moves as the game's rules list them, the
// game shows the move under the cursor as it marks a chosen piece, Enter or
// Space plays it through the same path as the mouse, Escape takes it away.
// A wrong move cannot be made this way: only legal moves are offered.
#pragma once

class TGameModule;

class TKeyCursor {
 public:
  // One key (a Qt::Key code) while the player is to move; whether it was
  // one of the cursor's keys.
  bool HandleKey(TGameModule& game, int key);
  // Takes the move shown away, leaving the board as it was.
  void Drop(TGameModule& game);
  // The move shown, or -1.
  int Index() const { return index_; }

 private:
  int index_ = -1;
};
