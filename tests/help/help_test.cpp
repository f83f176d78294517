// SPDX-License-Identifier: GPL-3.0-or-later
// The help window: mark-up, navigation, the hover band and the contents.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QTest>
#include <QToolButton>
#include <QWindow>
#include <memory>

#include "drawing/PaintBox.h"
#include "help/help_unit.h"

namespace {

class HelpTest : public ::testing::Test {
 protected:
  void SetUp() override {
    form = std::make_unique<Thelpform>();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    QApplication::processEvents();
  }
  uint32_t Pixel(int x, int y) { return form->helpbox->Surface().GetPixel(x, y); }
  int Width(const QString& text, bool bold = false) {
    QFont f(QStringLiteral("arial"));
    f.setPixelSize(16);
    f.setBold(bold);
    f.setStyleStrategy(QFont::NoAntialias);
    int w = 0;
    for (QChar c : text) w += QFontMetrics(f).horizontalAdvance(c) + 1;
    return w;
  }
  std::unique_ptr<Thelpform> form;
};

TEST_F(HelpTest, MarkupCodes) {
  struct Case {
    const char* source;
    int x;  // -1: not checked
    int link, offset, size;
    bool bold, frameOpen;
  } cases[] = {
      {R"(\t)", 100, 0, 0, 12, false, false},
      {R"(\t\t)", 200, 0, 0, 12, false, false},
      {R"(\t\t\t\t\t\t\t\t)", 800, 0, 0, 12, false, false},
      {R"(\i7)", -1, 7, 0, 12, false, false},
      {R"(\I12 tekst)", -1, 12, 0, 12, false, false},
      {R"(\ix)", -1, 0, 0, 12, false, false},
      {R"(\b)", 10, 0, 7, 12, false, false},
      {R"(\p)", 10, 0, -5, 12, false, false},
      {R"(\l)", 10, 0, 0, 14, false, false},
      {R"(\f)", 10, 0, 0, 12, true, false},
      {R"(\\f)", 10, 0, 0, 12, true, false},  // a doubled backslash acts as one
      {R"(\F\b\n)", 10, 0, 0, 12, false, false},
      {R"(\q\z)", 10, 0, 0, 12, false, false},  // unknown codes are dropped
      {R"(\[)", 15, 0, 0, 12, false, true},
      {R"(\[\[\n)", 20, 0, 0, 12, false, false},
  };
  for (const auto& c : cases) {
    const THelpLineState st = form->DrawLine(3, QString::fromUtf8(c.source));
    if (c.x >= 0) {
      EXPECT_EQ(st.x, c.x) << c.source;
    }
    EXPECT_EQ(st.link, c.link) << c.source;
    EXPECT_EQ(st.offset, c.offset) << c.source;
    EXPECT_EQ(st.size, c.size) << c.source;
    EXPECT_EQ(st.bold, c.bold) << c.source;
    EXPECT_EQ(st.frameOpen, c.frameOpen) << c.source;
  }
  // Characters advance by their width plus one pixel; a tab goes to the
  // next multiple of 100.
  EXPECT_EQ(form->DrawLine(3, QStringLiteral("ab")).x, 10 + Width(QStringLiteral("ab")));
  EXPECT_EQ(form->DrawLine(3, QStringLiteral("ab\\tc")).x, 100 + Width(QStringLiteral("c")));
  EXPECT_EQ(form->DrawLine(3, QStringLiteral("\\fab")).x, 10 + Width(QStringLiteral("ab"), true));
}

TEST_F(HelpTest, FramedWord) {
  form->ClearPageArea();
  const THelpLineState st = form->DrawLine(2, QStringLiteral("\\[\\mstart\\[\\n"));
  const int right = 15 + Width(QStringLiteral("start"));
  EXPECT_EQ(st.x, right + 5);
  // Left and right edges from y - 5 to y + 25 around y = 40, top and bottom
  // edges between them, grey text background inside.
  for (int y : {36, 50, 63}) {
    EXPECT_EQ(Pixel(10, y), 0x606060u) << y;
    EXPECT_EQ(Pixel(right, y), 0x606060u) << y;
  }
  EXPECT_EQ(Pixel(30, 35), 0x606060u);
  EXPECT_EQ(Pixel(30, 65), 0x606060u);
  EXPECT_EQ(Pixel(right + 3, 35), 0xFFFFE0u);  // nothing past the closing edge
  EXPECT_EQ(Pixel(16, 41), 0xD8D8D8u);
}

TEST_F(HelpTest, PagesAndTitles) {
  EXPECT_EQ(HelpSource().size(), 368);
  EXPECT_EQ(form->PageCount, 15);
  const char* titles[] = {"inhoud",    "introductie", "naam, password, ere-galerij",
                          "bediening", "game 1",      "game 2",
                          "game 3",    "game 4",      "game 5",
                          "game 6",    "game 7",      "game 8",
                          "game 9",    "installatie", "andere producten"};
  for (int p = 0; p < 15; ++p) EXPECT_EQ(HelpSource()[25 * p], QString::fromLatin1(titles[p]));
  EXPECT_TRUE(HelpSource().join(QLatin1Char(' ')).contains(QStringLiteral("Zam games V1.1")));
  // A source of a multiple of 25 lines gets one more, empty page.
  while (form->ListBox1->count() < 375) form->ListBox1->addItem(QString());
  form->FormShow();
  EXPECT_EQ(form->PageCount, 16);
}

TEST_F(HelpTest, ContentsLinksLineUpAt300) {
  EXPECT_EQ(form->subtitle->text(), QStringLiteral("inhoud"));
  for (int entry = 0; entry < 14; ++entry) {
    const int line = 2 + entry;
    EXPECT_EQ(form->LinkTarget[line], 2 + entry) << line;
    QString text = HelpSource()[line];
    text.truncate(text.indexOf(QStringLiteral("\\i")));
    EXPECT_EQ(form->DrawLine(line, text).x, 300) << text.toStdString();
  }
  EXPECT_EQ(form->LinkTarget[1], 0);
  EXPECT_EQ(form->LinkTarget[16], 0);
}

TEST_F(HelpTest, KeysAtTheFirstAndLastPage) {
  QTest::keyClick(form.get(), Qt::Key_PageUp);
  EXPECT_EQ(form->CurrentPage, 1);
  for (int i = 0; i < 20; ++i) QTest::keyClick(form.get(), Qt::Key_PageDown);
  EXPECT_EQ(form->CurrentPage, 15);
  EXPECT_EQ(form->pageNrdisplay->text(), QStringLiteral("15"));
  EXPECT_EQ(form->subtitle->text(), QStringLiteral("andere producten"));
  QTest::keyClick(form.get(), Qt::Key_Home);
  EXPECT_EQ(form->CurrentPage, 1);
  QTest::keyClick(form.get(), Qt::Key_PageDown);
  QTest::mouseClick(form->page1Btn, Qt::LeftButton);
  EXPECT_EQ(form->CurrentPage, 1);
  EXPECT_EQ(form->pageNrdisplay->text(), QStringLiteral("1"));
  QTest::keyClick(form.get(), Qt::Key_Escape);
  EXPECT_EQ(form->result(), QDialog::Accepted);
}

TEST_F(HelpTest, HoldingTheRightButtonStepsBackUntilPage1) {
  for (int i = 0; i < 2; ++i) form->StepPage(1);
  ASSERT_EQ(form->CurrentPage, 3);
  QTest::mousePress(form->pageNrdisplay, Qt::RightButton);
  EXPECT_EQ(form->CurrentPage, 2);
  EXPECT_TRUE(form->Timer1.isActive());
  QTest::qWait(1300);  // three ticks of 400 ms
  EXPECT_EQ(form->CurrentPage, 1);
  QTest::mouseRelease(form->pageNrdisplay, Qt::RightButton);
  EXPECT_FALSE(form->Timer1.isActive());
  QTest::mouseClick(form->pageNrdisplay, Qt::LeftButton);
  EXPECT_EQ(form->CurrentPage, 2);
}

// Held down, the left button keeps stepping forward every 400 ms, on the
// window's own timer, until it is released.
TEST_F(HelpTest, HoldingTheLeftButtonStepsOnUntilReleased) {
  ASSERT_EQ(form->CurrentPage, 1);
  QTest::mousePress(form->pageNrdisplay, Qt::LeftButton);
  EXPECT_EQ(form->CurrentPage, 2);
  EXPECT_TRUE(QTest::qWaitFor([&] { return form->CurrentPage >= 4; }, 5000));
  QTest::mouseRelease(form->pageNrdisplay, Qt::LeftButton);
  const int released = form->CurrentPage;
  QTest::qWait(500);
  EXPECT_EQ(form->CurrentPage, released);
  EXPECT_EQ(form->pageNrdisplay->text(), QString::number(released));
}

TEST_F(HelpTest, HoverBandTogglesExactly) {
  // Black text pixels of entry line 2, before any hover.
  std::vector<QPoint> ink;
  for (int y = 40; y < 60; ++y)
    for (int x = 10; x < 790; ++x)
      if (Pixel(x, y) == 0) ink.push_back({x, y});
  ASSERT_FALSE(ink.empty());
  QTest::mouseMove(form->helpbox, {400, 45});
  EXPECT_EQ(form->HoverLine, 2);
  EXPECT_EQ(Pixel(700, 42), 0x0000BFu);                            // dark blue band
  for (QPoint p : ink) ASSERT_EQ(Pixel(p.x(), p.y()), 0xFFFFFFu);  // white text
  EXPECT_EQ(Pixel(1, 42), 0x000000u);          // the sunken border is outside the band
  QTest::mouseMove(form->helpbox, {400, 65});  // the next entry
  EXPECT_EQ(form->HoverLine, 3);
  EXPECT_EQ(Pixel(700, 42), 0xFFFFE0u);                            // page colour restored
  for (QPoint p : ink) ASSERT_EQ(Pixel(p.x(), p.y()), 0x0000A0u);  // visited: dark blue text
  QTest::mouseMove(form->helpbox, {400, 25});                      // line 1 is no link
  EXPECT_EQ(form->HoverLine, 0);
}

TEST_F(HelpTest, LinksAndClicksWithoutALink) {
  QTest::mouseMove(form->helpbox, {400, 25});
  QTest::mouseClick(form->helpbox, Qt::LeftButton, {}, {400, 25});
  EXPECT_EQ(form->CurrentPage, 1);              // no highlighted line: nothing
  QTest::mouseMove(form->helpbox, {400, 105});  // line 5: game 1
  QTest::mouseClick(form->helpbox, Qt::LeftButton, {}, {400, 105});
  EXPECT_EQ(form->CurrentPage, 5);
  EXPECT_EQ(form->subtitle->text(), QStringLiteral("game 1"));
  EXPECT_EQ(form->pageNrdisplay->text(), QStringLiteral("5"));
  EXPECT_EQ(form->HoverLine, 0);  // nothing highlighted after following a link
  EXPECT_EQ(Pixel(700, 102), 0xFFFFE0u);
}

TEST_F(HelpTest, EveryShowingStartsAtPage1) {
  form->StepPage(1);
  form->hide();
  form->show();
  QApplication::processEvents();
  EXPECT_EQ(form->CurrentPage, 1);
  EXPECT_EQ(form->subtitle->text(), QStringLiteral("inhoud"));
}

}  // namespace

namespace {

// Two clicks on the page-number box 100 ms apart, as the window system
// delivers them (the second press comes as a double-click): two pages on.
TEST_F(HelpTest, TwoQuickClicksStepTwoPages) {
  QWindow* window = form->windowHandle();
  ASSERT_NE(window, nullptr);
  const QPoint p = form->pageNrdisplay->mapTo(form.get(), form->pageNrdisplay->rect().center());
  ASSERT_EQ(form->CurrentPage, 1);
  // Through the window system's own double-click detection: press, release,
  // double-click, release.
  QTest::mouseDClick(window, Qt::LeftButton, {}, p);
  EXPECT_EQ(form->CurrentPage, 3);
  EXPECT_FALSE(form->Timer1.isActive());
}

}  // namespace

namespace {

// The mark-up's point sizes in pixels, rounded as the platform converts at
// 96 pixels per inch: 12 points are 16 pixels, 14 points 18.67, so 19.
TEST(HelpFont, PointsToPixelsRound) {
  EXPECT_EQ(PageFont(12, false).pixelSize(), 16);
  EXPECT_EQ(PageFont(14, true).pixelSize(), 19);
  EXPECT_TRUE(PageFont(14, true).bold());
}

}  // namespace
