// SPDX-License-Identifier: GPL-3.0-or-later
// Runs a test in a fresh, empty current folder, so that a "ZamScores" the
// program reads or writes there is the test's own and never a player's.
#pragma once

#include <QDir>
#include <QTemporaryDir>

class InTempFolder {
 public:
  InTempFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir_.path()); }
  ~InTempFolder() { QDir::setCurrent(previous_); }
  InTempFolder(const InTempFolder&) = delete;
  InTempFolder& operator=(const InTempFolder&) = delete;
  QString Path() const { return dir_.path(); }

 private:
  QTemporaryDir dir_;
  QString previous_;
};
