// SPDX-License-Identifier: GPL-3.0-or-later
// The controls of the main window, by their names, and their building:
// place, caption, font, colour, focus and tab order, and the names and
// descriptions a screen reader gives them. What the controls do is the
// window's business (Unit1).
#pragma once

#include <QComboBox>
#include <QStringList>
#include <cstdint>

#include "drawing/accessible.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class TPaintBox;
class TRilArrayBtn;

struct TMainControls {
  TPaintBox* box1 = nullptr;
  TPaintBox* largemsgbox = nullptr;
  QLabel* smallmsgbox = nullptr;
  TPaintBox* directionbox = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QLabel* Label2 = nullptr;
  TRilArrayBtn* gameselbtn = nullptr;
  QLabel* Label3 = nullptr;
  TPaintBox* scoreBox = nullptr;
  QLabel* Label6 = nullptr;
  QLabel* totalscore = nullptr;
  QLabel* Label5 = nullptr;
  QComboBox* namebox = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* passwordEdit = nullptr;
  QPushButton* galleryBtn = nullptr;
  QPushButton* compstartBtn = nullptr;
  QPushButton* actionBtn = nullptr;
  QPushButton* stopBtn = nullptr;
  QListWidget* infobox = nullptr;
};

// Builds every control on `window`, `infoItems` in the hidden rules list,
// and names them for a screen reader.
void BuildControls(QWidget& window, TMainControls& c, const QStringList& infoItems);
// Accessible names and descriptions of the window and every control.
void NameControls(QWidget& window, const TMainControls& c);

// The name box: an editable combo box that tells a name chosen from its
// list (the open list, with the mouse or the keys, or the arrow keys on the
// closed box) apart from the activation Qt also reports when typed text
// happens to equal an entry (on Return or when the box loses the focus).
class TNameBox final : public TNamedComboBox {
 public:
  using TNamedComboBox::TNamedComboBox;
  void hidePopup() override;
  bool FromList() const { return fromList_ || stepping_; }
  // A new list of names; what the player is typing stays in the box.
  void SetNames(const QStringList& names);

 protected:
  // On the closed box the arrow and page keys step to the entry above or
  // below: that entry is chosen from the list just as a click chooses it.
  void keyPressEvent(QKeyEvent* e) override;

 private:
  bool fromList_ = false;
  bool stepping_ = false;
};
