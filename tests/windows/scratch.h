#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <functional>

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
  /// The names here, or in `folder`, hidden ones included.
  QStringList entries(const QString& folder = ".") const {
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
  }

  QTemporaryDir dir;
  QString previous;
};

/// The folder of the programs built: the tools beside wadwright.exe, and this test.
inline QString programFolder() { return QDir::toNativeSeparators(QCoreApplication::applicationDirPath()); }

/// Starts wadwright.exe of `folder` with `environment` ("NAME=value") added to ours.
inline void startWadwright(QProcess& program, const QString& folder, const QStringList& arguments, const QStringList& environment) {
  QProcessEnvironment added = QProcessEnvironment::systemEnvironment();
  for (const QString& entry : environment) added.insert(entry.section('=', 0, 0), entry.section('=', 1));
  program.setProcessEnvironment(added);
  program.start(folder + "\\wadwright.exe", arguments);
}

/// The naming checksum tool's folder (naming_md5sum.cpp), with its drive, for the scratch folder may
/// be on another; the real programs are put beside it.
inline QString namingFolder() {
  const QString folder = QDir::toNativeSeparators(QFileInfo(WADWRIGHT_NAMING_FOLDER).absoluteFilePath());
  for (const char* program : {"wadwright.exe", "command.com", "bspatch.exe", "fetch.exe", "sha1sum.exe"}) {
    QFile::remove(folder + "\\" + program);
    QFile::copy(programFolder() + "\\" + program, folder + "\\" + program);
  }
  return folder;
}

/// Polls `done` for up to twenty seconds: Wine can be slow to start a program, or to let go what a
/// program it ended held.
inline bool within(const std::function<bool()>& done) {
  for (int wait = 0; wait < 400 && !done(); ++wait) QThread::msleep(50);
  return done();
}
