#include "process_start.h"

#include <windows.h>

#include <QDir>
#include <QProcess>
#include <memory>

#include "child_lifetime_win32.h"

namespace platform {

void passCommandLine(QProcess& process, const QString& commandLine, bool detached) {
  // Kept with the modifier: CreateProcessW reads them after it returns.
  auto program = std::make_shared<std::wstring>();
  auto line = std::make_shared<std::wstring>();
  process.setCreateProcessArgumentsModifier([&process, program, line, commandLine, detached](QProcess::CreateProcessArguments* arguments) {
    // The program found is started under the line as it stands, its first word as typed.
    *program = QDir::toNativeSeparators(process.program()).toStdWString();
    arguments->applicationName = program->c_str();
    *line = commandLine.toStdWString();  // afresh: CreateProcessW may write into it
    arguments->arguments = line->data();
    // The window style the Shell call asks for: a normal window, for a program that opens one.
    arguments->startupInfo->dwFlags |= STARTF_USESHOWWINDOW;
    arguments->startupInfo->wShowWindow = SW_SHOWNORMAL;
    if (detached && inHelpersJob()) arguments->flags |= CREATE_BREAKAWAY_FROM_JOB;
  });
}

}  // namespace platform
