#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

/// Answers every modal message box the program shows, as a user pressing OK would, and keeps its
/// text and details. A box that is not the program's plain kind (titled "Wadwright", no icon, an
/// OK button only) fails the test, but for a question (Yes and No) where `answer` is set.
class MessageCatcher : public QObject {
 public:
  MessageCatcher();

  QStringList texts;
  QStringList details;
  /// Runs while a message is up, before it is answered.
  std::function<void()> whileShown;
  /// What a question is answered with: QMessageBox::Yes or QMessageBox::No.
  int questionAnswer = 0;

 private:
  void answer();
  QTimer timer_;
};
