// SPDX-License-Identifier: GPL-3.0-or-later
// The button-array control: radio behaviour, dead zones, hover, setters.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <vector>

#include "drawing/rilArrayBtn.h"

namespace {

struct Fixture {
  QWidget parent;
  TRilArrayBtn* grid;
  std::vector<std::pair<int, int>> changes;  // (button, status)
  Fixture() {
    parent.resize(200, 400);
    grid = new TRilArrayBtn(&parent);
    grid->SetColumns(1);
    grid->SetRows(9);
    grid->SetBtnWidth(40);
    grid->SetBtnHeight(25);
    grid->SetBorder(5);
    grid->SetBtnEdge(2);
    grid->onBtnChange = [this](QObject*, uint8_t n, uint8_t s, Qt::MouseButton) {
      changes.push_back({n, s});
    };
    parent.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&parent));
    QApplication::processEvents();  // the first full paint, which forgets any hover
  }
  QPoint Centre(int n) const {
    const TRect r = grid->GetBtnRect(uint8_t(n));
    return {(r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2};
  }
  void Click(QPoint p) {
    QTest::mouseMove(grid, {p.x() == 1 ? 2 : 1, 1});  // Qt drops a move to the same place
    QTest::mouseMove(grid, p);
    QTest::mousePress(grid, Qt::LeftButton, {}, p);
    QTest::mouseRelease(grid, Qt::LeftButton, {}, p);
  }
};

TEST(ArrayBtn, GeometryOfTheGameSelector) {
  Fixture f;
  EXPECT_EQ(f.grid->size(), QSize(50, 275));
  EXPECT_EQ(f.grid->GetBtnRect(0), (TRect{5, 5, 45, 30}));
  EXPECT_EQ(f.grid->GetBtnRect(8), (TRect{5, 245, 45, 270}));
  for (int n = 0; n < 9; ++n) EXPECT_EQ(f.grid->GetBtnStatus(uint8_t(n)), stFlat);
}

TEST(ArrayBtn, RadioBehaviour) {
  Fixture f;
  f.Click(f.Centre(5));
  EXPECT_EQ(f.changes, (std::vector<std::pair<int, int>>{{5, stDown}}));
  f.Click(f.Centre(3));
  EXPECT_EQ(f.grid->GetBtnStatus(3), stDown);
  EXPECT_EQ(f.grid->GetBtnStatus(5), stFlat);
  EXPECT_EQ(f.changes.size(), 2u);  // none for the released button
  f.Click(f.Centre(3));             // already down: nothing
  EXPECT_EQ(f.changes.size(), 2u);
  EXPECT_EQ(f.grid->GetBtnStatus(3), stDown);
}

TEST(ArrayBtn, DeadZonesHitNothing) {
  Fixture f;
  // Edge pixels (edge 2) and the spacing between buttons are dead.
  for (QPoint p : {QPoint(7, 15), QPoint(43, 15), QPoint(20, 7), QPoint(20, 32), QPoint(2, 2),
                   QPoint(-3, 15)}) {
    EXPECT_EQ(f.grid->HitTest(p.x(), p.y()), TRilArrayBtn::kNone) << p.x() << "," << p.y();
    f.Click(p);
  }
  EXPECT_TRUE(f.changes.empty());
  EXPECT_EQ(f.grid->HitTest(8, 8), 0);
  EXPECT_EQ(f.grid->HitTest(41, 26), 0);
}

TEST(ArrayBtn, HoverPaintsHighlightAndBack) {
  Fixture f;
  const TRect r = f.grid->GetBtnRect(2);
  QTest::mouseMove(f.grid, {1, 1});
  QTest::mouseMove(f.grid, f.Centre(2));
  EXPECT_EQ(f.grid->HotBtn(), 2);
  EXPECT_EQ(f.grid->cursor().shape(), Qt::PointingHandCursor);
  EXPECT_EQ(f.grid->Canvas().GetPixel(r.Left, r.Top + 5), 0xFFFFFFu);  // light top/left
  QTest::mouseMove(f.grid, f.Centre(4));
  EXPECT_EQ(f.grid->Canvas().GetPixel(r.Left, r.Top + 5), 0x808080u);  // flat again
  QTest::mouseMove(f.grid, {2, 2});
  EXPECT_EQ(f.grid->HotBtn(), TRilArrayBtn::kNone);
  EXPECT_EQ(f.grid->cursor().shape(), Qt::ArrowCursor);
}

TEST(ArrayBtn, SetterClamps) {
  Fixture f;
  f.grid->SetColumns(6);
  f.grid->SetRows(9);  // 9 x 6 > 48
  EXPECT_EQ(f.grid->Columns(), 1);
  f.grid->SetBtnEdge(0);
  EXPECT_EQ(f.grid->BtnEdge(), 1);
  f.grid->SetBtnEdge(5);
  EXPECT_EQ(f.grid->BtnEdge(), 2);
  f.grid->SetBtnWidth(3);
  EXPECT_EQ(f.grid->BtnWidth(), 10);
  f.grid->SetRows(0);
  EXPECT_EQ(f.grid->Rows(), 1);
  f.grid->SetRows(60);
  EXPECT_EQ(f.grid->Rows(), 48);
}

}  // namespace
