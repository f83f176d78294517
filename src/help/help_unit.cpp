#include "help/help_unit.h"

Thelpform* helpform = nullptr;

Thelpform::Thelpform(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Zam9 help"));
  setFixedSize(833, 693);
}
