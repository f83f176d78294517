// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/panels.h"

#include <QLabel>

#include "drawing/PaintBox.h"
#include "drawing/Unit2.h"
#include "drawing/arrows.h"
#include "drawing/pieces.h"
#include "games/catalogue.h"

TSidePanels::TSidePanels(const TControls& controls) : controls_(controls) {
  DirectionBitmap.FillRect({0, 0, DirectionBitmap.Width(), DirectionBitmap.Height()},
                           ButtonFaceColor);
  BuildStarPicture(ster);
}

void TSidePanels::DrawDirections(uint8_t directions) {
  ::DrawDirections(DirectionBitmap, directions);
  if (controls_.directions) controls_.directions->Invalidate();
}

void TSidePanels::PaintDirectionBox() {
  if (!controls_.directions) return;
  TXBitmap& s = controls_.directions->Surface();
  s.FillRect({0, 0, s.Width(), s.Height()}, ButtonFaceColor);
  DirectionBitmap.Transparent = true;
  DirectionBitmap.TransparentColor = TransparentColor;
  s.Draw(0, 0, DirectionBitmap);
}

void TSidePanels::InvalidateScores() {
  if (controls_.scores) controls_.scores->Invalidate();
}

void DrawWelcomeBoard(TBoard& board) {
  TXBitmap& b = board.ComposeBitmap;
  const TPieceImages& pieces = PieceImages();
  b.FillRect({0, 0, b.Width(), b.Height()}, 0xF0FFFF);
  const QFont font = MakeFont(QStringLiteral("arial"), 50, false);
  b.TextOut(220, 25, QStringLiteral("selecteer spel"), font, 0xC0C0C0);
  DrawArrow(b, WelcomeArrow, ArrowToSelector);
  b.TextOut(375, 350, QStringLiteral("naam"), font, 0xC0C0C0);
  DrawArrow(b, WelcomeArrow, ArrowToNameBox);
  for (int i = 0; i <= 10; ++i) {
    const int x = 50 + 50 * i;
    b.Draw(x, 100, pieces.CanSprite);
    b.Draw(x, 190, pieces.BallSprite);
    b.Draw(x, 250, pieces.CoinOSprite);
    b.Draw(x, 300, i == 5 ? pieces.CoinEuroSprite : pieces.CoinXSprite);
  }
  board.Invalidate();
}

namespace {
// Outline of a rectangle, right and bottom exclusive, one pixel wide.
void FrameRect(TXBitmap& b, const TRect& r, uint32_t colour) {
  b.FillRect({r.Left, r.Top, r.Right, r.Top + 1}, colour);
  b.FillRect({r.Left, r.Bottom - 1, r.Right, r.Bottom}, colour);
  b.FillRect({r.Left, r.Top, r.Left + 1, r.Bottom}, colour);
  b.FillRect({r.Right - 1, r.Top, r.Right, r.Bottom}, colour);
}

}  // namespace

void TSidePanels::PaintRulesBox(int index) {
  TPaintBox* box = controls_.rules;
  if (!box) return;
  TXBitmap& s = box->Surface();
  s.FillRect({0, 0, s.Width(), s.Height()}, 0xF0FFFF);
  FrameRect(s, {0, 0, s.Width(), s.Height()}, 0x0000C0);
  if (controls_.info) {
    const QFont font = PixelFont(QStringLiteral("Arial"), 13, false);
    bool inSection = false;
    int k = 0;
    for (const QString& item : *controls_.info) {
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

void TSidePanels::PaintScoreBox(const uint8_t (&levels)[kGameCount]) {
  int total = 0;
  if (TPaintBox* box = controls_.scores) {
    TXBitmap& s = box->Surface();
    const QFont font = PixelFont(QStringLiteral("MS Sans Serif"), 13, true);
    for (int i = 0; i < kGameCount; ++i) {
      const int level = levels[i], top = 30 * i + 5;
      s.FillRect({0, top, s.Width(), top + 30}, ButtonFaceColor);
      if (level > 0) {
        for (int k = 0; k < level; ++k) s.Draw(15 * k, top, ster);
        s.TextOut(80, top, QString::number((i + 1) * level), font, 0x000000);
      }
      total += (i + 1) * level;
    }
    box->Show({0, 0, box->width(), box->height()});  // painted already: just show it
  } else {
    for (int i = 0; i < kGameCount; ++i) total += (i + 1) * levels[i];
  }
  if (controls_.total) controls_.total->setText(QString::number(total));
}

const QStringList& InfoItems() {
  static const QStringList items = [] {
    QStringList list;
    const auto addLines = [&list](const auto& lines) {
      for (const char* line : lines)
        if (line) list << QString::fromUtf8(line);
    };
    for (uint8_t t = 0; t < kGameCount; ++t) {
      const TGameEntry* entry = FindGame(t);
      if (!entry) continue;
      list << QStringLiteral("[%1]").arg(t);
      addLines(entry->rules);
    }
    list << QStringLiteral("[10]");
    addLines(kGeneralRules);
    list << QStringLiteral("[]") << QString() << QString();
    return list;
  }();
  return items;
}

QString ScoresText(const uint8_t (&levels)[kGameCount]) {
  QStringList scores;
  for (int t = 0; t < kGameCount; ++t)
    scores << QStringLiteral("spel %1: level %2, %3 punten")
                  .arg(t + 1)
                  .arg(levels[t])
                  .arg((t + 1) * levels[t]);
  return scores.join(QStringLiteral("; "));
}

int TotalPoints(const uint8_t (&levels)[kGameCount]) {
  int total = 0;
  for (int t = 0; t < kGameCount; ++t) total += (t + 1) * levels[t];
  return total;
}

QString RulesText(int index) {
  QStringList lines;
  bool inSection = false;
  for (const QString& item : InfoItems()) {
    const bool header = item.startsWith(QLatin1Char('['));
    if (header && inSection) break;
    if (header) {
      inSection = item == QLatin1Char('[') + QString::number(index) + QLatin1Char(']');
      continue;
    }
    if (inSection) lines << item;
  }
  return lines.join(QLatin1Char(' '));
}
