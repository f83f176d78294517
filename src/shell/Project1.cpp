// Program start: the main window, then the message loop.
#include <QApplication>

#include "shell/Unit1.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  TForm1 form;
  form.show();
  return app.exec();
}
