// The platform's Windows twins, with the real tools.
#include <gtest/gtest.h>
#include <windows.h>

#include <tlhelp32.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <QTimer>
#include <csignal>
#include <functional>
#include <thread>

#include "identify/identification.h"
#include "platform/find_program.h"
#include "platform/folder_lock.h"
#include "platform/process.h"
#include "platform/writable_folder.h"
#include "scratch.h"

namespace {

// How many processes of that name run now, anybody's.
int running(const wchar_t* name) {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  int count = 0;
  for (bool more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry))
    count += _wcsicmp(entry.szExeFile, name) == 0;
  CloseHandle(snapshot);
  return count;
}

}  // namespace

TEST(FindProgramOnWindows, OwnHelpersComeOnlyFromTheProgramFolderAndNothingFromTheWorkingOne) {
  Scratch work;
  work.write("md5sum.exe", "not the real one");
  work.write("explorer.exe", "planted beside the IWADs");
  work.write("other.exe", "");
  const std::string bin = programFolder().toStdString();
  const std::pair<std::string, std::string> cases[] = {  // the name, where it is found ("": nowhere)
      {"md5sum.exe", bin + "\\md5sum.exe"},
      {"MD5SUM.EXE", bin + "\\MD5SUM.EXE"},
      {"command.com", bin + "\\command.com"},
      {"windows_test", bin + "\\windows_test.exe"},  // .exe added, as CreateProcess adds it
      {"other.exe", ""},
      {"sub\\other.exe", ""},
      {".\\md5sum.exe", ".\\md5sum.exe"},  // a folder part is taken as it stands
      {"missing.exe", ""},
  };
  for (const auto& [name, expected] : cases) {
    std::string why;
    std::optional<std::string> found = platform::findProgram(name, bin, &why);
    EXPECT_EQ(found.value_or(""), expected) << name;
    if (!found) {
      EXPECT_EQ(why, name + " was not found");
    }
  }
  // Windows' own file manager, not ours and not the one planted here: from the Windows folder.
  const QString windows = qEnvironmentVariable("SystemRoot");
  ASSERT_FALSE(windows.isEmpty());
  for (const char* explorer : {"explorer", "EXPLORER.EXE"}) {
    const std::string found = platform::findProgram(explorer, bin).value_or("none");
    EXPECT_EQ(QString::fromStdString(found).toLower(), (windows + "\\explorer.exe").toLower()) << explorer;
  }
}

TEST(FolderLockOnWindows, OneHolderPerFolderHoweverItIsSpelled) {
  Scratch work;
  QDir().mkpath("a long folder name/other");
  const QString folder = QDir::toNativeSeparators(QFileInfo("a long folder name").absoluteFilePath());
  wchar_t shortName[MAX_PATH] = L"";
  GetShortPathNameW(folder.toStdWString().c_str(), shortName, MAX_PATH);
  const QString shortPath = QString::fromWCharArray(shortName);
  ASSERT_FALSE(shortPath.isEmpty() || shortPath.endsWith("a long folder name")) << shortPath.toStdString();
  auto tryFromAnotherThread = [](const QString& spelling) {
    bool taken = false;
    std::thread([&] { taken = platform::FolderLock(spelling).tryLock(); }).join();
    return taken;
  };
  {
    platform::FolderLock held(folder);
    held.lock();
    const std::pair<QString, bool> cases[] = {  // the folder as spelled, whether it is free
        {folder, false},
        {folder.toUpper(), false},
        {shortPath, false},                     // its 8.3 name
        {"\\\\?\\" + folder, false},          // the long-path prefix
        {folder + "\\other\\..", false},
        {folder + "\\other", true},
    };
    for (const auto& [spelling, free] : cases) EXPECT_EQ(tryFromAnotherThread(spelling), free) << spelling.toStdString();
    // The thread that holds it does not take it again either.
    EXPECT_FALSE(platform::FolderLock(folder).tryLock());
  }
  EXPECT_TRUE(tryFromAnotherThread(folder));
}

// Windows ignores a folder's read-only mark when a file is made in it (Explorer uses the mark for
// its own ends), and access rights can refuse what no mark says: only making a file tells.
TEST(WritableFolderOnWindows, DecidedByMakingAFileThere) {
  Scratch work;
  QDir().mkdir("marked");
  ASSERT_TRUE(SetFileAttributesW(L"marked", FILE_ATTRIBUTE_READONLY));
  work.write("file.wad", "");
  const std::pair<QByteArray, bool> cases[] = {{".", true}, {"marked", true}, {"missing", false}, {"file.wad", false}};
  for (const auto& [folder, writable] : cases) EXPECT_EQ(platform::canCreateFilesIn(folder), writable) << folder.constData();
  EXPECT_EQ(work.entries(), (QStringList{"file.wad", "marked"}));  // no probe is left behind
  EXPECT_TRUE(QDir("marked").isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot));
  SetFileAttributesW(L"marked", FILE_ATTRIBUTE_NORMAL);
}

// The command line reaches the interpreter as it stands, quotes and all, and the interpreter
// hands the rest to the tool the same way.
TEST(CommandRunOnWindows, RunsTheLineAsItStandsAndSaysHowItEnded) {
  Scratch work;
  work.write("a b.wad", "abc");
  platform::CommandOutcome outcome = platform::runAndWait("command.com /c md5sum.exe \"a b.wad\" > md5tmp.txt", QFile::encodeName(programFolder()));
  EXPECT_TRUE(outcome.succeeded()) << outcome.errorOutput;
  EXPECT_EQ(work.read("md5tmp.txt"), "900150983cd24fb0d6963f7d28e17f72  a b.wad\r\n");

  outcome = platform::runAndWait("command.com /c md5sum.exe missing.wad > md5tmp.txt", QFile::encodeName(programFolder()));
  EXPECT_TRUE(outcome.started && outcome.exitedNormally);
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_EQ(platform::toolText(outcome.errorOutput), "md5sum.exe: missing.wad: No such file or directory");

  outcome = platform::runAndWait("nothere.exe x", QFile::encodeName(programFolder()));
  EXPECT_FALSE(outcome.started);
  EXPECT_EQ(outcome.startError, "nothere.exe was not found");
}

// A run cancelled (a new selection, the window closed) ends the checksum tool at once, not only the
// interpreter that started it, and leaves no md5tmp.txt.
TEST(CommandRunOnWindows, ACancelEndsTheToolAndLeavesNoOutputFile) {
  Scratch work;
  QFile big("big.wad");
  ASSERT_TRUE(big.open(QIODevice::WriteOnly) && big.resize(qint64(4) << 30));  // sparse: minutes of reading
  big.close();
  ASSERT_EQ(running(L"md5sum.exe"), 0);
  const Identification found = identifyFile("big.wad", [](const QString& line) {
    platform::CommandRun run(line, QFile::encodeName(programFolder()));
    QTimer poll;  // cancelled once the interpreter has started the tool, or once that is overdue
    QDeadlineTimer hung(20000);
    QObject::connect(&poll, &QTimer::timeout, [&] {
      if (running(L"md5sum.exe") == 0 && !hung.hasExpired()) return;
      EXPECT_EQ(running(L"md5sum.exe"), 1);
      poll.stop();
      run.cancel();
    });
    poll.start(50);
    return run.waitProcessingEvents();
  });
  EXPECT_EQ(found.outcome, Identification::Outcome::Abandoned);
  EXPECT_TRUE(within([] { return running(L"md5sum.exe") == 0; }));
  EXPECT_TRUE(within([&work] { return work.entries() == QStringList{"big.wad"}; })) << work.entries().join(" ").toStdString();
}

// The hidden window by which a console program hears of the session's end.
static HWND sessionWindowOf(DWORD process) {
  struct Search { DWORD process; HWND found; } search{process, nullptr};
  EnumWindows([](HWND window, LPARAM data) -> BOOL {
    auto* search = reinterpret_cast<Search*>(data);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->process) search->found = window;
    return !search->found;
  }, LPARAM(&search));
  return search.found;
}

// Wine without a display refuses every top-level window, the session watcher's too.
static bool topLevelWindowsCanBeMade() {
  HWND window = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
  if (window) DestroyWindow(window);
  return window != nullptr;
}

// A program takes its helpers with it however it ends: killed outright (they are in its job), or
// at log-off, which Windows tells a console program that loaded user32 only by a window message.
TEST(CommandRunOnWindows, HelpersEndWithTheProgramHoweverItEnds) {
  const std::pair<const char*, std::function<void(QProcess&)>> ends[] = {
      {"killed", [](QProcess& program) { program.kill(); }},
      {"logged off", [](QProcess& program) {
         HWND window = nullptr;  // made on a thread of its own, maybe still being made
         ASSERT_TRUE(within([&] { return (window = sessionWindowOf(DWORD(program.processId()))) != nullptr; }));
         DWORD_PTR mayEnd = 0;
         SendMessageTimeoutW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 10000, &mayEnd);
         EXPECT_TRUE(mayEnd);
         // As the system does: once the message is answered, it ends the program with a status of
         // its own (Wine's is 0), unless the program ended first.
         SendMessageTimeoutW(window, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 20000, nullptr);
         if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, DWORD(program.processId()))) {
           TerminateProcess(process, 0);
           CloseHandle(process);
         }
         ASSERT_TRUE(program.waitForFinished(10000));
         EXPECT_EQ(program.exitCode(), 128 + SIGTERM);  // as SIGTERM ends it on Linux
       }},
  };
  for (const auto& [how, end] : ends) {
    SCOPED_TRACE(how);
    if (std::string(how) == "logged off" && !topLevelWindowsCanBeMade()) {
      GTEST_SKIP() << "this system makes no top-level window (Wine without a display), so none can hear of the session's end";
    }
    Scratch work;
    QProcess program;
    program.start(programFolder() + "\\windows_test.exe", {"--run-and-wait", "windows_test.exe --sleep helper.pid"});
    ASSERT_TRUE(program.waitForStarted());
    ASSERT_TRUE(within([&] { return work.read("helper.pid").toULong() != 0; }));
    DWORD pid = work.read("helper.pid").toULong();
    ASSERT_NE(pid, 0u);
    HANDLE helper = OpenProcess(SYNCHRONIZE, FALSE, pid);
    ASSERT_TRUE(helper);
    EXPECT_EQ(WaitForSingleObject(helper, 200), DWORD(WAIT_TIMEOUT));  // it waits while its program lives
    end(program);
    program.waitForFinished();
    EXPECT_EQ(WaitForSingleObject(helper, 10000), DWORD(WAIT_OBJECT_0));
    CloseHandle(helper);
  }
}
