// SPDX-License-Identifier: GPL-3.0-or-later
// Build-time tool: writes the program's icon as PNG files of the sizes given,
// drawn by the program's own pixel engine.
//   icon_tool OUTPUT_FOLDER SIZE...   (writes OUTPUT_FOLDER/SIZE.png)
#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>

#include "drawing/AppIcon.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);  // the letter on the coin needs fonts
  if (argc < 3) return 2;
  for (int i = 2; i < argc; ++i) {
    const int size = std::atoi(argv[i]);
    const QString path = QString::fromLocal8Bit(argv[1]) + QStringLiteral("/%1.png").arg(size);
    if (size < 1 || !AppIconImage(size).save(path, "PNG")) {
      std::fprintf(stderr, "icon_tool: cannot write %s\n", qPrintable(path));
      return 1;
    }
  }
  return 0;
}
