// The hall of fame: the table of named players, their scrambled passwords,
// levels and last playing dates, the score file and the window listing it.
#pragma once

#include <QDialog>
#include <QString>
#include <cstdint>

void ClearHallOfFame();
void LoadHallOfFame();  // also fills the name list
void SaveHallOfFame();
QString StoredPasswordOf(const QString& name);  // scrambled
uint32_t StoredLevelsOf(const QString& name);   // packed levels
void RecordResult();                            // the player in the name box, after a finished game
void FillNameList();
void ShowHallOfFame();  // the hall-of-fame window, modal

class Tscoreform : public QDialog {
  Q_OBJECT
 public:
  explicit Tscoreform(QWidget* parent = nullptr);
};

extern Tscoreform* scoreform;
