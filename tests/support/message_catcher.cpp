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
  const bool question = box->standardButtons() == (QMessageBox::Yes | QMessageBox::No) && questionAnswer;
  EXPECT_TRUE(box->icon() == QMessageBox::NoIcon && (box->standardButtons() == QMessageBox::Ok || question)) << box->text().toStdString();
  texts << box->text();
  details << box->detailedText();
  if (whileShown) whileShown();
  QAbstractButton* button = box->button(question ? QMessageBox::StandardButton(questionAnswer) : QMessageBox::Ok);
  if (button) button->click();
  else box->done(0);  // failed above: it is closed all the same, so that the test goes on
}
