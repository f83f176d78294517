// SPDX-License-Identifier: GPL-3.0-or-later
// The help pages as plain text, for a screen reader: the mark-up codes
// taken out, a tab as a blank, and a link line ending in the page it opens
// ("introductie, pagina 2").
#pragma once

#include <QString>
#include <QStringList>

// One source line without its mark-up.
QString PlainHelpLine(const QString& line);
// Page `page` (from 1) of the source: its title, then its body lines that
// hold text, one line each.
QString PlainHelpPage(const QStringList& source, int page);
// What a screen reader says of a page: "pagina 3 van 15: naam, password,
// ere-galerij".
QString HelpPageName(const QStringList& source, int page, int pageCount);
