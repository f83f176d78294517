// SPDX-License-Identifier: GPL-3.0-or-later
// The hall of fame with the keys: a selected rank that Up, Down, Page Up,
// Page Down, Home and End move through the list, the page scrolled so the
// selected rank stays in sight; and each rank in words for a screen reader.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class TRanking;

struct THallView {
  int selected = 0;  // the selected rank, 1..entries; 0 before any key
  int top = 0;       // the scroll position: the page shows ranks top+1..top+25
  bool operator==(const THallView&) const = default;
};

constexpr int kHallRows = 25;     // rows on a page
constexpr int kHallMaxTop = 75;   // the last page shows ranks 76..100

// The view after key `key` (a Qt::Key code) with `entries` ranks in use;
// `handled` tells whether the key is one of the list's.
THallView StepHall(THallView view, int key, int entries, bool* handled);

// The hall of fame as a table: its column titles, and the cells of rank r
// of `ranking` under them ("1", "bob", "level 2 in spel 1 en level 1 in spel 3", "5",
// "11-12-2026"); no cells for a rank not in use.
QStringList HallColumns();
QStringList HallRowCells(const TRanking& ranking, int rank);

// Rank r in words: "rang 1: bob, level 2 in spel 1 en level 1 in spel 3,
// score 5, laatst gespeeld 11-12-2026".
QString HallRowText(const TRanking& ranking, int rank);
