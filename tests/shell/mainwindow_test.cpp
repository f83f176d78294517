#include <gtest/gtest.h>

#include "shell/Unit1.h"

TEST(MainWindow, FixedClientAreaAndCaption) {
  TForm1 form;
  form.show();
  EXPECT_EQ(form.size(), QSize(860, 689));
  EXPECT_EQ(form.minimumSize(), form.maximumSize());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("Zam games V1.1"));
}
