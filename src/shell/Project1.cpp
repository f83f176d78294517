// Program start: the main window, then the hall-of-fame and help windows,
// then the message loop until the main window closes.
#include <QApplication>

#include "halloffame/scores.h"
#include "help/help_unit.h"
#include "shell/Unit1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  TForm1 form;
  Tscoreform scores(&form);
  scoreform = &scores;
  Thelpform help(&form);
  helpform = &help;
  form.show();
  const int result = app.exec();
  scoreform = nullptr;
  helpform = nullptr;
  return result;
}
