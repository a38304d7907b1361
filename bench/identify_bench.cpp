// How the identification performs against its peers, in one run on this machine:
//  - from a click in the list to the identified result, against a bare coreutils md5sum;
//  - the window's own CPU use while a tool runs.
// Usage: identify_bench [IWAD]   (default: Debian's freedoom2.wad)
#include <sys/resource.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QListWidget>
#include <QMessageBox>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "window/application.h"
#include "window/file_list_box.h"
#include "window/form1.h"

namespace {

constexpr int kRounds = 15;

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double millisecondsOf(const std::function<void()>& work) {
  QElapsedTimer clock;
  clock.start();
  work();
  return clock.nsecsElapsed() / 1e6;
}

void runQuietly(const QString& program, const QStringList& arguments) {
  QProcess process;
  process.setStandardOutputFile(QProcess::nullDevice());
  process.start(program, arguments);
  process.waitForFinished(-1);
}

// The window identifies once the click's events have been handled.
void handleClick() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

// The first value of /proc/cpuinfo's `field`: "model name", or "flags", on which the digest code
// the library picks depends.
QString cpuInfo(const QByteArray& field) {
  QFile info("/proc/cpuinfo");
  info.open(QIODevice::ReadOnly);
  for (const QByteArray& line : info.readAll().split('\n'))
    if (line.startsWith(field)) return QString(line.mid(line.indexOf(':') + 1).trimmed());
  return "unknown";
}

double cpuSeconds() {
  rusage usage;
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// Ends each identification at the moment its result is shown: the release in the frame, or the
// message box for a file the catalogue does not know.
class ResultWatcher : public QObject {
 public:
  QElapsedTimer clock;
  double shownAfter = 0;
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show && qobject_cast<QMessageBox*>(watched)) {
      shownAfter = clock.nsecsElapsed() / 1e6;
      QTimer::singleShot(0, static_cast<QMessageBox*>(watched), &QMessageBox::accept);
    }
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  prepareApplication(application);
  QString iwad = argc > 1 ? argv[1] : "/usr/share/games/doom/freedoom2.wad";
  QString bin = QCoreApplication::applicationDirPath() + "/../bin";
  if (!QFile::exists(iwad)) {
    std::fprintf(stderr, "identify_bench: %s not found\n", qPrintable(iwad));
    return 1;
  }

  std::printf("CPU: %s\nCPU flags: %s\n", qPrintable(cpuInfo("model name")), qPrintable(cpuInfo("flags")));
  std::vector<double> coreutils;
  for (int round = 0; round < kRounds; ++round)
    coreutils.push_back(millisecondsOf([&] { runQuietly("md5sum", {iwad}); }));

  QTemporaryDir work;
  QDir::setCurrent(work.path());
  QFile::link(iwad, "test.wad");
  Form1 form(QFile::encodeName(bin));
  form.show();
  ResultWatcher watcher;
  application.installEventFilter(&watcher);
  QRect place = form.File1->visualItemRect(form.File1->item(0));
  std::vector<double> clicks;
  for (int round = 0; round < kRounds; ++round) {
    watcher.clock.start();
    QTest::mouseClick(form.File1->viewport(), Qt::LeftButton, {}, place.center());
    handleClick();
    clicks.push_back(form.Frame1->isVisible() ? watcher.clock.nsecsElapsed() / 1e6 : watcher.shownAfter);
  }
  std::printf("click to result      %7.1f ms   coreutils md5sum %7.1f ms   difference %+.1f ms\n", median(clicks),
              median(coreutils), median(clicks) - median(coreutils));

  // A tool that takes its time: the window must wait for it without spending CPU.
  QTemporaryDir tools;
  QFile::copy(bin + "/command.com", tools.path() + "/command.com");
  QFile slow(tools.path() + "/md5sum.exe");
  slow.open(QIODevice::WriteOnly);
  slow.write("#!/bin/sh\nsleep 3\necho 00000000000000000000000000000000\n");
  slow.close();
  slow.setPermissions(slow.permissions() | QFile::ExeOwner);
  Form1 waiting(QFile::encodeName(tools.path()));
  waiting.show();
  double cpuBefore = cpuSeconds();
  double wall = millisecondsOf([&] {
    QTest::mouseClick(waiting.File1->viewport(), Qt::LeftButton, {}, place.center());
    handleClick();
  });
  double cpu = (cpuSeconds() - cpuBefore) * 1000;
  std::printf("window while waiting %7.1f ms CPU in %.0f ms   %.2f%% of one core\n", cpu, wall, 100 * cpu / wall);
  return 0;
}
