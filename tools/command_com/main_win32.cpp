// command.com for Windows: our stand-in for the command interpreter, as far as Wadwright needs
// one. It runs `command.com /c PROGRAM ARGUMENTS [> FILE]`: one program, started with the rest of
// the line as it stands, its standard output sent into FILE (created or emptied) when `> FILE`
// ends the line. The exit status is the program's. The program runs in a job of ours that Windows
// ends when we end: killing command.com, as Wadwright does to cancel a run, ends the program too.
#include <windows.h>

#include <initializer_list>
#include <iostream>
#include <string>

#include "command_parser.h"
#include "platform/find_program.h"
#include "platform/native_text_win32.h"
#include "tools/common/windows_error.h"

namespace {

int fail(const std::string& message, int status = 2) {
  std::cerr << "command.com: " << message << "\n";
  return status;
}

// The program runs in our console and gets Ctrl+C itself; we wait for it and report how it ended.
BOOL WINAPI leaveConsoleEventToProgram(DWORD event) { return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT; }

HANDLE inheritable(DWORD stream) {
  HANDLE handle = GetStdHandle(stream);
  if (handle && handle != INVALID_HANDLE_VALUE) SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
  return handle;
}

// A job that kills what it holds once its last handle, ours, closes, however we end.
HANDLE jobEndingWithUs() {
  HANDLE job = CreateJobObjectW(nullptr, nullptr);
  if (!job) return nullptr;
  JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
  limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
  if (SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits)) return job;
  CloseHandle(job);
  return nullptr;
}

// Started suspended, so that it runs no instruction outside the job. Where our own job cannot
// hold a job inside it (Windows before 8), the program leaves ours for the one that ends with us.
bool startInJob(HANDLE job, const std::string& program, const std::string& commandLine, STARTUPINFOW& startup,
                PROCESS_INFORMATION& started) {
  for (DWORD flags : {DWORD(CREATE_SUSPENDED), DWORD(CREATE_SUSPENDED | CREATE_BREAKAWAY_FROM_JOB)}) {
    std::wstring line = platform::wideText(commandLine);  // afresh: CreateProcessW may write into it
    if (!CreateProcessW(platform::wideText(program).c_str(), line.data(), nullptr, nullptr, TRUE, flags, nullptr, nullptr,
                        &startup, &started))
      continue;
    if (AssignProcessToJobObject(job, started.hProcess)) {
      ResumeThread(started.hThread);
      return true;
    }
    DWORD error = GetLastError();
    TerminateProcess(started.hProcess, 1);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    SetLastError(error);
  }
  return false;
}

}  // namespace

int main() {
  std::string error;
  std::optional<std::string> text = tools::textAfterSwitch(platform::narrowText(GetCommandLineW()), &error);
  if (!text) return fail(error);
  tools::ParsedCommand command = tools::parseCommand(*text);
  if (!command.error.empty()) return fail(command.error);

  std::optional<std::string> program = platform::findProgram(command.words.front(), tools::ownFolder(), &error);
  if (!program) return fail(error, 127);

  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = inheritable(STD_INPUT_HANDLE);
  startup.hStdOutput = inheritable(STD_OUTPUT_HANDLE);
  startup.hStdError = inheritable(STD_ERROR_HANDLE);
  HANDLE output = INVALID_HANDLE_VALUE;
  if (command.outputFile) {
    // Never write through a link: the file named is the one that gets written. Shared for deleting,
    // so that whoever cancels the run can remove the file while the program still holds it, and
    // with whoever made it to be deleted as they end and holds it open for that.
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    output = CreateFileW(platform::widePath(*command.outputFile).c_str(), GENERIC_WRITE,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, &inherited,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (output == INVALID_HANDLE_VALUE)
      return fail("cannot write " + *command.outputFile + ": " + tools::windowsErrorText(GetLastError()));
    startup.hStdOutput = output;
  }

  HANDLE job = jobEndingWithUs();
  if (!job) return fail("cannot start " + command.words.front() + ": " + tools::windowsErrorText(GetLastError()), 127);
  PROCESS_INFORMATION started{};
  SetConsoleCtrlHandler(leaveConsoleEventToProgram, TRUE);
  if (!startInJob(job, *program, command.commandLine, startup, started))
    return fail("cannot start " + command.words.front() + ": " + tools::windowsErrorText(GetLastError()), 127);
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  CloseHandle(started.hThread);
  WaitForSingleObject(started.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(started.hProcess, &status);
  CloseHandle(started.hProcess);
  return int(status);
}
