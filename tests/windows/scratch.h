#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

/// A temporary folder that is the working folder for as long as it lives.
struct Scratch {
  Scratch() : previous(QDir::currentPath()) { QDir::setCurrent(dir.path()); }
  ~Scratch() { QDir::setCurrent(previous); }
  void write(const QString& name, const QByteArray& content) const {
    QFile file(name);
    if (file.open(QIODevice::WriteOnly)) file.write(content);
  }
  QByteArray read(const QString& name) const {
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
  }
  /// The names here, hidden ones included.
  QStringList entries() const { return QDir().entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name); }

  QTemporaryDir dir;
  QString previous;
};

/// The folder of the programs built: the tools beside wadwright.exe, and this test.
inline QString programFolder() { return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()); }
