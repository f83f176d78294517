// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader finds in the widgets that paint themselves, and the
// voice of a window.
//
// A screen reader speaks what has the keyboard focus and what a window
// announces as news; it ignores changes elsewhere. So each window gets one
// announcer: an object of the notification role that says a message when it
// is handed one (once, also the same message again). The board, the pages
// of help and the hall-of-fame table are paint boxes that a screen reader
// sees as one object with a role, a name, a description and, for pages of
// text, that text, for a table its columns, rows and cells; the button
// array shows its buttons as radio buttons.
#pragma once

#include <QAccessible>
#include <QComboBox>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "drawing/PaintBox.h"

// The notification object of a window. What is said while one key, click or
// tick is handled is gathered and spoken as one message when control goes
// back to the event loop, so that nothing said later in the same step cuts
// off what was said before.
class TAnnouncer final : public QWidget {
  Q_OBJECT
 public:
  explicit TAnnouncer(QWidget* parent);

  // Adds a sentence to the message of this step (blank text says nothing).
  void Say(const QString& text);
  // Forgets what this step would say: the focus moves to an object whose
  // reading says it.
  void Drop();
  // Speaks the gathered message now.
  void Flush();
  // The last message spoken: the notification's name and text.
  const QString& Spoken() const { return spoken_; }

  // Every message spoken by any announcer (tests watch them; accessibility
  // is only active where a screen reader listens).
  static std::function<void(TAnnouncer*, const QString&)> Watcher;

 private:
  QStringList pending_;
  QString spoken_;
  QTimer flush_;
};

// A paint box a screen reader sees as one object of the given role. Its name
// and description are the widget's accessible name and description; a box
// with text (a page of help) offers that text too.
class TSpokenBox final : public TPaintBox {
  Q_OBJECT
 public:
  TSpokenBox(QAccessible::Role role, QWidget* parent);

  QAccessible::Role Role() const { return role_; }
  const QString& Text() const { return text_; }
  // Sets the text offered; a screen reader is told it changed.
  void SetText(const QString& text);

  // A box that shows a table (the ranks of the hall of fame) offers its
  // column titles, the cells of the rows shown, and which row is selected
  // (-1: none).
  QStringList Columns;
  std::function<QList<QStringList>()> Rows;
  std::function<int()> SelectedRow;
  int RowHeight = 25;  // pixels per row, top row at the box's top
  // Tells a screen reader the selected row changed (a selection event). No
  // focus event goes with it: the window's notification says the row once,
  // in words, and a focus event would make the reader say it again, cell by
  // cell.
  void RowSelected();

 private:
  QAccessible::Role role_;
  QString text_;
};

// An editable combo box that keeps its own accessible name while text is
// typed into it (Qt's own interface names such a box by its text on this
// platform, so a screen reader lost what the box is for).
class TNamedComboBox : public QComboBox {
  Q_OBJECT
 public:
  explicit TNamedComboBox(QWidget* parent = nullptr);
};

// Makes the objects above known to Qt's accessibility (once; every
// constructor of them calls it).
void InstallAccessibleObjects();
