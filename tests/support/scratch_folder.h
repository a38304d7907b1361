#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

/// A temporary folder that is the working folder for as long as it lives.
class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();

  QString path(const QString& name = QString()) const;
  /// Writes the file, making the folders it is in.
  void write(const QString& name, const QByteArray& content, bool executable = false) const;
  QByteArray read(const QString& name) const;
  bool exists(const QString& name) const;
  /// The names in the folder, or in one of its folders, sorted, hidden ones included.
  QStringList entries(const QString& folder = QString()) const;

  /// Makes the folder a small file system of its own (1 MB, empty), so that it can be filled or
  /// made read-only; or a ramfs, which reports no size. False where mounting is not allowed (it needs root).
  bool mountSmall(const char* type = "tmpfs");
  void makeReadOnly();

 private:
  QTemporaryDir dir_;
  QString previous_;
  bool mounted_ = false;
};
