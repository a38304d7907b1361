// The Windows tests' program. Started with --sleep FILE it is a helper that writes its process id
// into FILE and waits to be ended; with --run-and-wait LINE it is a program that runs LINE as a
// helper of its own, and ends as wadwright does when asked to (see platform_test.cpp).
#include <gtest/gtest.h>
#include <windows.h>

#include <QApplication>
#include <QFile>

#include "window/application.h"
#include "platform/process.h"
#include "platform/termination_signals.h"

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--sleep") {
    QFile pid(argv[2]);
    if (!pid.open(QIODevice::WriteOnly)) return 1;
    pid.write(QByteArray::number(quint64(GetCurrentProcessId())));
    pid.close();
    Sleep(INFINITE);
  }
  if (argc == 3 && std::string(argv[1]) == "--run-and-wait") {
    QCoreApplication application(argc, argv);
    platform::handleTerminationSignals(&application, [](int number) { QCoreApplication::exit(128 + number); });
    const platform::CommandOutcome outcome = platform::runAndWait(argv[2], QFile::encodeName(QCoreApplication::applicationDirPath()));
    return outcome.abandoned ? 128 + platform::terminationSignal() : outcome.exitCode;
  }
  QApplication application(argc, argv);
  prepareApplication(application);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
