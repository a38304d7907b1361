// `wadwright`: the command-line front. It answers --help, --version, --identify, --make, --find and --demo
// itself, with QtCore alone, and hands the window to the window program beside it.
#include <QCoreApplication>
#include <cstdio>

#include "command_options.h"
#include "command_output.h"
#include "demo_command.h"
#include "find_command.h"
#include "identify/dead_runs.h"
#include "identify_command.h"
#include "make_command.h"
#include "platform/native_names.h"
#include "platform/program_folder.h"
#include "platform/run_instead.h"
#include "platform/standard_streams.h"
#include "platform/termination_signals.h"
#include "version.h"

namespace {

int usageError(const QString& error) {
  std::fprintf(stderr, "wadwright: %s (see wadwright --help)\n", qPrintable(error));
  return 2;
}

// The window program reads no options of ours; a path it is given is absolute, so that it cannot
// be taken for one of Qt's own. A path that is not valid text is entered here instead: the working
// folder carries over.
int startWindow(const QByteArray& programFolder, const QList<QByteArray>& paths, char* program) {
  if (!platform::hasDisplay()) {
    std::fputs("wadwright: there is no display to open the window on; without one, use --identify, --make, --find or --demo "
               "(see wadwright --help)\n", stderr);
    return 2;
  }
  const QByteArray window = programFolder + "/wadwright-window";
  QByteArray path = paths.isEmpty() ? QByteArray() : platform::absoluteNativePath(paths.front());
  if (!path.isEmpty() && !platform::isTextPath(path)) {
    // The window lists only names that are text: it opens the folder, without selecting a file.
    if (!platform::enterNativeFolder(path)) platform::enterNativeFolder(platform::splitNativePath(path).folder);
    path.clear();
  }
  char* arguments[] = {program, path.isEmpty() ? nullptr : path.data(), nullptr};
  QString why = platform::runInstead(window, arguments);
  std::fprintf(stderr, "wadwright: cannot start %s: %s\n", escapedField(window).constData(), qPrintable(why));
  return 127;
}

int runMode(const CommandOptions& options, const QByteArray& folder, char* program) {
  if (options.mode == CommandOptions::Mode::Help) return printAll(kUsage) ? 0 : 2;
  if (options.mode == CommandOptions::Mode::Version) return printAll(QByteArray("Wadwright ") + kProgramVersion + "\n") ? 0 : 2;
  // Said once, here: every helper and the window would otherwise be "not found" one by one.
  if (folder.isEmpty()) {
    std::fputs("wadwright: I cannot tell which folder I was started from (the system names no path of 4096 bytes "
               "or more), so I cannot find my helpers or my window\n", stderr);
    return 2;
  }
  removeDeadRunsFolders();
  switch (options.mode) {
    case CommandOptions::Mode::Identify: return identifyFromCommandLine(options.paths, options.json, folder);
    case CommandOptions::Mode::Make: return makeFromCommandLine(options.paths[0], options.paths[1], options.json, options.download, folder);
    case CommandOptions::Mode::ListOffers: return listOffersFromCommandLine(options.paths[0], options.json, folder);
    case CommandOptions::Mode::Find: return findFromCommandLine(options.json, folder);
    case CommandOptions::Mode::Demo: return demoFromCommandLine(options.paths, options.json, folder);
    case CommandOptions::Mode::Window:
    case CommandOptions::Mode::Help:
    case CommandOptions::Mode::Version: break;
  }
  return startWindow(folder, options.paths, program);
}

}  // namespace

int main(int argc, char* argv[]) {
  platform::guardStandardStreams();
  QCoreApplication application(argc, argv);  // no display needed here
  CommandOptions options = parseCommandLine(argc, argv);
  if (!options.error.isEmpty()) return usageError(options.error);
  const QByteArray folder = platform::programFolder();
  // Asked to end, the tool at work is stopped and what it began removed, and nothing more is
  // started; what was found is printed, and the status is a signal's, as a shell expects.
  platform::handleTerminationSignals(&application, [](int number) { QCoreApplication::exit(128 + number); });
  const int status = runMode(options, folder, argv[0]);
  return platform::terminationSignal() ? 128 + platform::terminationSignal() : status;
}
