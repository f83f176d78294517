// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include "shell/Unit1.h"
#include "temp_folder.h"

TEST(MainWindow, FixedClientAreaAndCaption) {
  InTempFolder folder;
  TForm1 form;
  form.show();
  EXPECT_EQ(form.size(), QSize(860, 689));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Zam games V1.1"));
}
