#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <functional>

/// Answers every modal message box the program shows, as a user pressing OK would, and keeps its
/// text and details. A box that is not the program's plain kind (titled "Wadwright", no icon, an
/// OK button only) fails the test.
class MessageCatcher : public QObject {
 public:
  MessageCatcher();

  QStringList texts;
  QStringList details;
  /// Runs while a message is up, before it is answered.
  std::function<void()> whileShown;

 private:
  void answer();
  QTimer timer_;
};
