#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

/// Answers every modal message box the program shows, as a user pressing OK would, and keeps
/// what each one looked like.
class MessageCatcher : public QObject {
 public:
  struct Message {
    QString title;
    QString text;
    bool plain;  ///< no icon, and an OK button only
  };

  MessageCatcher();

  QStringList texts() const;
  QList<Message> messages;
  /// Runs while a message is up, before it is answered.
  std::function<void()> whileShown;

 private:
  void answer();
  QTimer timer_;
};
