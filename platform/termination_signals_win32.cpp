#include "termination_signals.h"

#include <windows.h>

#include <QWinEventNotifier>
#include <atomic>
#include <csignal>

namespace platform {

namespace {

HANDLE gAsked = nullptr;  // set when the console asks us to end
std::atomic<int> gSignal{0};

// Runs on a thread of its own that Windows starts (or on the session watcher's, below). Ctrl+C and
// Ctrl+Break are answered at once; for the console's close, log-off and shut-down Windows ends the
// process as soon as this returns, so it waits here while the event loop tidies up and the
// program returns from main.
BOOL WINAPI onConsoleEvent(DWORD event) {
  gSignal = event == CTRL_C_EVENT ? SIGINT : event == CTRL_BREAK_EVENT ? SIGBREAK : SIGTERM;
  SetEvent(gAsked);
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(INFINITE);
  return TRUE;
}

// A process that has loaded user32 (Qt does) gets no log-off or shut-down event on its console
// handler: Windows tells its windows instead. This hidden one hears it for the console program,
// and answers as the handler would; the process is ended once the handler returns.
LRESULT CALLBACK onSessionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) return TRUE;
  if (message == WM_ENDSESSION && wParam) onConsoleEvent(lParam & ENDSESSION_LOGOFF ? CTRL_LOGOFF_EVENT : CTRL_SHUTDOWN_EVENT);
  if (message == WM_ENDSESSION) return 0;
  return DefWindowProcW(window, message, wParam, lParam);
}

// Its own thread, so that the message arrives however busy the event loop or a wait is.
DWORD WINAPI watchSessionEnd(void*) {
  WNDCLASSW kind{};
  kind.lpfnWndProc = onSessionMessage;
  kind.hInstance = GetModuleHandleW(nullptr);
  kind.lpszClassName = L"Wadwright session end";
  // A top-level window, never shown: a message-only one is not told of the session's end.
  if (!RegisterClassW(&kind) ||
      !CreateWindowExW(0, kind.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, kind.hInstance, nullptr))
    return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  return 0;
}

}  // namespace

void handleTerminationSignals(QObject* context, std::function<void(int)> handler) {
  if (!gAsked && !(gAsked = CreateEventW(nullptr, FALSE, FALSE, nullptr))) return;
  auto* notifier = new QWinEventNotifier(gAsked, context);
  QObject::connect(notifier, &QWinEventNotifier::activated, context, [handler] { handler(gSignal); });
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
  static const HANDLE watcher = CreateThread(nullptr, 0, watchSessionEnd, nullptr, 0, nullptr);  // once
  (void)watcher;
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
