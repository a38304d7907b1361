#pragma once

#include <QProcess>
#include <QString>

/// A web server on 127.0.0.1 for as long as it lives: Python's http.server serving `folder`, or,
/// without one, a port that takes connections and never answers them.
class LocalServer {
 public:
  explicit LocalServer(const QString& folder = {});
  ~LocalServer();
  /// "http://127.0.0.1:PORT/"; empty when it could not be started.
  QString base() const { return base_; }

 private:
  QProcess process_;
  QString base_;
};
