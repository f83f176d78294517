// SPDX-License-Identifier: GPL-3.0-or-later
#include "halloffame/hall_keys.h"

#include <QStringList>
#include <Qt>
#include <algorithm>

#include "halloffame/ranking.h"
#include "halloffame/scorerecord.h"

THallView StepHall(THallView view, int key, int entries, bool* handled) {
  *handled = true;
  int s = view.selected;
  switch (key) {
    case Qt::Key_Down:
      s = s + 1;
      break;
    case Qt::Key_Up:
      s = s <= 1 ? 1 : s - 1;
      break;
    case Qt::Key_PageDown:
      s = s + kHallRows;
      break;
    case Qt::Key_PageUp:
      s = s - kHallRows;
      break;
    case Qt::Key_Home:
      s = 1;
      break;
    case Qt::Key_End:
      s = entries;
      break;
    default:
      *handled = false;
      return view;
  }
  if (entries <= 0) return {0, view.top};
  view.selected = std::clamp(s, 1, entries);
  // Scrolled as little as brings the selected rank into the page.
  if (view.selected <= view.top) view.top = view.selected - 1;
  if (view.selected > view.top + kHallRows) view.top = view.selected - kHallRows;
  view.top = std::clamp(view.top, 0, kHallMaxTop);
  return view;
}

QStringList HallColumns() {
  return {QStringLiteral("rang"), QStringLiteral("naam"), QStringLiteral("levels"),
          QStringLiteral("score"), QStringLiteral("datum")};
}

QStringList HallRowCells(const TRanking& ranking, int rank) {
  if (rank < 1 || rank > ranking.Count()) return {};
  const ScoreRecord& slot = ranking.AtRank(rank);
  QStringList levels;
  for (int t = 0; t < 9; ++t) {
    const int level = std::min<int>(5, (slot.levels >> (3 * t)) & 7);
    if (level > 0) levels << QStringLiteral("level %1 in spel %2").arg(level).arg(t + 1);
  }
  QString levelText = levels.isEmpty() ? QStringLiteral("geen levels") : levels.takeLast();
  if (!levels.isEmpty()) levelText = levels.join(QStringLiteral(", ")) + QStringLiteral(" en ") + levelText;
  return {QString::number(rank), RecordName(slot), levelText,
          QString::number(TotalScore(slot.levels)), FormatOleDate(slot.date)};
}

QString HallRowText(const TRanking& ranking, int rank) {
  const QStringList cells = HallRowCells(ranking, rank);
  if (cells.isEmpty()) return {};
  return QStringLiteral("rang %1: %2, %3, score %4, laatst gespeeld %5")
      .arg(cells[0], cells[1], cells[2], cells[3], cells[4]);
}
