// SPDX-License-Identifier: GPL-3.0-or-later
#include "help/help_text.h"

QString PlainHelpLine(const QString& line) {
  QString out;
  bool escape = false;
  for (int k = 0; k < line.size(); ++k) {
    const QChar c = line[k];
    if (!escape && c == QLatin1Char('\\')) {
      escape = true;
      continue;
    }
    if (!escape) {
      out += c == QLatin1Char('\t') ? QLatin1Char(' ') : c;
      continue;
    }
    escape = false;
    if (c == QLatin1Char('\\')) {  // a doubled backslash acts as one
      escape = true;
      continue;
    }
    const char16_t code = c.toLower().unicode();
    if (code == u't') {
      out += QLatin1Char(' ');
    } else if (code == u'i' && k + 1 < line.size() && line[k + 1].isDigit()) {
      // The page number that follows is drawn: said as the page it opens.
      out = out.trimmed() + QStringLiteral(", pagina ");
    }
  }
  return out.simplified();
}

QString PlainHelpPage(const QStringList& source, int page) {
  QStringList lines;
  const int first = 25 * (page - 1);
  for (int i = 0; i <= 24 && first + i < source.size(); ++i) {
    const QString text = i == 0 ? source[first].simplified() : PlainHelpLine(source[first + i]);
    if (!text.isEmpty()) lines << text;
  }
  return lines.join(QLatin1Char('\n'));
}

QString HelpPageName(const QStringList& source, int page, int pageCount) {
  const int first = 25 * (page - 1);
  const QString title = first < source.size() ? source[first].simplified() : QString();
  QString name = QStringLiteral("pagina %1 van %2").arg(page).arg(pageCount);
  if (!title.isEmpty()) name += QStringLiteral(": ") + title;
  return name;
}
