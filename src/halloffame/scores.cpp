#include "halloffame/scores.h"

#include <QComboBox>

#include "shell/Unit1.h"

Tscoreform* scoreform = nullptr;

// The table holds no players yet: names, passwords and levels are not kept
// between runs.
void ClearHallOfFame() {}
void LoadHallOfFame() { FillNameList(); }
void SaveHallOfFame() {}
QString StoredPasswordOf(const QString&) { return QString(); }
uint32_t StoredLevelsOf(const QString&) { return 0; }
void RecordResult() {}

void FillNameList() {
  if (!Form1) return;
  const QString typed = Form1->namebox->currentText();
  Form1->namebox->clear();
  Form1->namebox->setEditText(typed);
}

void ShowHallOfFame() {
  if (scoreform) scoreform->exec();
}

Tscoreform::Tscoreform(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zam : Ere - Galerij"));
  setFixedSize(538, 707);
}
