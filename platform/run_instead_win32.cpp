#include "run_instead.h"

#include <windows.h>

#include "native_text_win32.h"

#include <QRegularExpression>
#include <QStringList>
#include <cstdlib>

namespace platform {

namespace {

// One argument as the C runtime of the started program splits it back out of its command line.
QString quotedArgument(const QString& argument) {
  if (!argument.isEmpty() && !argument.contains(QRegularExpression("[ \t\"]"))) return argument;
  QString quoted = "\"";
  int backslashes = 0;
  for (QChar c : argument) {
    if (c == '\\') {
      ++backslashes;
      continue;
    }
    quoted += QString(c == '"' ? 2 * backslashes + 1 : backslashes, '\\') + c;
    backslashes = 0;
  }
  return quoted + QString(2 * backslashes, '\\') + "\"";
}

}  // namespace

// Windows has no exec: the window program is started on its own, and this process ends at once
// with status 0, as a window program started from a console does not keep the console waiting.
QString runInstead(const QByteArray& programPath, char** arguments) {
  const QString givenProgram = QString::fromStdWString(wideText(programPath.toStdString()));
  // CreateProcess adds no extension to a program named with its folder.
  QString program = givenProgram.endsWith(".exe", Qt::CaseInsensitive) ? givenProgram : givenProgram + ".exe";
  QString commandLine = quotedArgument(program);
  for (char** argument = arguments + 1; *argument; ++argument)
    commandLine += " " + quotedArgument(QString::fromLocal8Bit(*argument));
  std::wstring line = commandLine.toStdWString();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  // Out of any job that would end it with us, where the job allows that.
  for (DWORD flags : {DWORD(CREATE_BREAKAWAY_FROM_JOB), DWORD(0)}) {
    if (CreateProcessW(reinterpret_cast<const wchar_t*>(program.utf16()), line.data(), nullptr, nullptr, FALSE,
                       flags | CREATE_UNICODE_ENVIRONMENT, nullptr, nullptr, &startup, &started)) {
      CloseHandle(started.hThread);
      CloseHandle(started.hProcess);
      std::exit(0);
    }
  }
  wchar_t* text = nullptr;
  FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                 GetLastError(), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  QString why = text ? QString::fromWCharArray(text).trimmed() : QString("error %1").arg(GetLastError());
  LocalFree(text);
  return why;
}

}  // namespace platform
