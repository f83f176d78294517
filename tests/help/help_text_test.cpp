// SPDX-License-Identifier: GPL-3.0-or-later
// The help pages as a screen reader gets them: the mark-up codes gone, tabs
// as blanks, link lines ending in the page they open. Expected texts are
// written out by hand from the source lines.
#include <gtest/gtest.h>

#include "help/help_text.h"
#include "help/help_unit.h"

TEST(HelpText, LinesLoseTheirMarkUp) {
  struct Case {
    const char* line;
    const char* plain;
  };
  const Case cases[] = {
      {"introductie\t\t\t\\i2", "introductie, pagina 2"},
      {"naam, password, ere-galerij\t\\i3", "naam, password, ere-galerij, pagina 3"},
      {"\\lDe gouden euro\\n", "De gouden euro"},
      {"\\fvet\\n en \\bomlaag\\s, \\pomhoog", "vet en omlaag, omhoog"},
      {"druk \\[start \\[\\n en dan", "druk start en dan"},
      {"a\\tb\\tc", "a b c"},
      {"\\\\f dubbel", "dubbel"},  // a doubled backslash acts as one
      {"\\mgrijs\\n", "grijs"},
      {"geen link \\i hier", "geen link hier"},  // no digits: no link
      {"", ""},
  };
  for (const Case& c : cases)
    EXPECT_EQ(PlainHelpLine(QString::fromUtf8(c.line)), QString::fromUtf8(c.plain)) << c.line;
}

TEST(HelpText, APageIsItsTitleThenItsLinesOfText) {
  QStringList source;
  source << QStringLiteral("inhoud") << QStringLiteral("\\lboven\\n") << QString()
         << QStringLiteral("game 1\t\t\t\\i5");
  while (source.size() < 25) source << QString();
  source << QStringLiteral("tweede") << QStringLiteral("tekst");
  EXPECT_EQ(PlainHelpPage(source, 1), QStringLiteral("inhoud\nboven\ngame 1, pagina 5"));
  EXPECT_EQ(PlainHelpPage(source, 2), QStringLiteral("tweede\ntekst"));
  EXPECT_EQ(HelpPageName(source, 2, 2), QStringLiteral("pagina 2 van 2: tweede"));
}

// The program's own pages: no backslash reaches a screen reader, and the
// contents page names the pages its lines open.
TEST(HelpText, TheProgramsPagesReadAsPlainText) {
  const QStringList& source = HelpSource();
  const int pages = int(source.size()) / 25 + 1;
  for (int p = 1; p <= pages; ++p)
    EXPECT_FALSE(PlainHelpPage(source, p).contains(QLatin1Char('\\'))) << p;
  const QStringList contents = PlainHelpPage(source, 1).split(QLatin1Char('\n'));
  ASSERT_GE(contents.size(), 15);
  EXPECT_EQ(contents[0], QStringLiteral("inhoud"));
  EXPECT_EQ(contents[1], QStringLiteral("introductie, pagina 2"));
  EXPECT_EQ(contents[14], QStringLiteral("andere producten, pagina 15"));
}
