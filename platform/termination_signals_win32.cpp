#include "termination_signals.h"

#include <windows.h>

#include <QWinEventNotifier>
#include <atomic>
#include <csignal>

namespace platform {

namespace {

HANDLE gAsked = nullptr;  // set when the console asks us to end
std::atomic<int> gSignal{0};

// Runs on a thread of its own that Windows starts. Ctrl+C and Ctrl+Break are answered at once;
// for the console's close, log-off and shut-down Windows ends the process as soon as this returns,
// so it waits here while the event loop tidies up and the program returns from main.
BOOL WINAPI onConsoleEvent(DWORD event) {
  gSignal = event == CTRL_C_EVENT ? SIGINT : event == CTRL_BREAK_EVENT ? SIGBREAK : SIGTERM;
  SetEvent(gAsked);
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(INFINITE);
  return TRUE;
}

}  // namespace

void handleTerminationSignals(QObject* context, std::function<void(int)> handler) {
  if (!gAsked && !(gAsked = CreateEventW(nullptr, FALSE, FALSE, nullptr))) return;
  auto* notifier = new QWinEventNotifier(gAsked, context);
  QObject::connect(notifier, &QWinEventNotifier::activated, context, [handler] { handler(gSignal); });
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

int terminationSignal() { return gSignal; }

bool waitUnlessAskedToEnd(int milliseconds) {
  if (gSignal) return true;
  // The event is left set for the event loop's notifier: it is looked at, not taken.
  if (!gAsked) Sleep(DWORD(milliseconds));
  else if (WaitForSingleObject(gAsked, DWORD(milliseconds)) == WAIT_OBJECT_0) SetEvent(gAsked);
  return gSignal != 0;
}

}  // namespace platform
