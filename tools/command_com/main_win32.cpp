// command.com for Windows: our stand-in for the command interpreter, as far as Wadwright needs
// one. It runs `command.com /c PROGRAM ARGUMENTS [> FILE]`: one program, started with the rest of
// the line as it stands, its standard output sent into FILE (created or emptied) when `> FILE`
// ends the line. The exit status is the program's.
#include <windows.h>

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
    // Never write through a link: the file named is the one that gets written.
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    output = CreateFileW(platform::wideText(*command.outputFile).c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherited,
                         CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (output == INVALID_HANDLE_VALUE)
      return fail("cannot write " + *command.outputFile + ": " + tools::windowsErrorText(GetLastError()));
    startup.hStdOutput = output;
  }

  std::wstring line = platform::wideText(command.commandLine);
  PROCESS_INFORMATION started{};
  SetConsoleCtrlHandler(leaveConsoleEventToProgram, TRUE);
  if (!CreateProcessW(platform::wideText(*program).c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                      &startup, &started))
    return fail("cannot start " + command.words.front() + ": " + tools::windowsErrorText(GetLastError()), 127);
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  CloseHandle(started.hThread);
  WaitForSingleObject(started.hProcess, INFINITE);
  DWORD status = 1;
  GetExitCodeProcess(started.hProcess, &status);
  CloseHandle(started.hProcess);
  return int(status);
}
