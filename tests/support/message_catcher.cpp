#include "message_catcher.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

MessageCatcher::MessageCatcher() {
  connect(&timer_, &QTimer::timeout, this, &MessageCatcher::answer);
  timer_.start(5);
}

void MessageCatcher::answer() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box || !box->isVisible()) return;
  EXPECT_EQ(box->windowTitle(), "Wadwright");
  EXPECT_TRUE(box->icon() == QMessageBox::NoIcon && box->standardButtons() == QMessageBox::Ok) << box->text().toStdString();
  texts << box->text();
  details << box->detailedText();
  if (whileShown) whileShown();
  box->button(QMessageBox::Ok)->click();
}
