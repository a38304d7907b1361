#include "message_catcher.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>

MessageCatcher::MessageCatcher() {
  connect(&timer_, &QTimer::timeout, this, &MessageCatcher::answer);
  timer_.start(5);
}

QStringList MessageCatcher::texts() const {
  QStringList all;
  for (const Message& message : messages) all << message.text;
  return all;
}

void MessageCatcher::answer() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box || !box->isVisible()) return;
  bool plain = box->icon() == QMessageBox::NoIcon && box->buttons().size() == 1 &&
               box->standardButton(box->buttons().front()) == QMessageBox::Ok;
  messages.append({box->windowTitle(), box->text(), plain});
  if (whileShown) whileShown();
  box->buttons().front()->click();
}
