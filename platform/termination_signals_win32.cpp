#include "termination_signals.h"

#include <windows.h>

#include <QWinEventNotifier>
#include <atomic>
#include <csignal>

namespace platform {

namespace {

HANDLE gAsked = nullptr;  // set when the console asks us to end
std::atomic<int> gSignal{0};

// Runs on a thread of its own that Windows starts. Ctrl+C and Ctrl+Break are answered at once; for
// the console's close, log-off and shut-down Windows ends the process as soon as this returns, so
// it waits here while the event loop tidies up and the program returns from main.
BOOL WINAPI onConsoleEvent(DWORD event) {
  gSignal = event == CTRL_C_EVENT ? SIGINT : event == CTRL_BREAK_EVENT ? SIGBREAK : SIGTERM;
  SetEvent(gAsked);
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(INFINITE);
  return TRUE;
}

// A process that has loaded user32 (Qt does) gets no log-off or shut-down event on its console
// handler: Windows tells its windows instead. A hidden one, on a thread of its own so that the
// message arrives however busy the event loop or a wait is, hears it for the console program.
// Windows ends the process once WM_ENDSESSION is answered, with a status of its own choosing (Wine
// gives 0), so it is never answered: the program tidies up and ends itself, with its own status,
// as it does on the console's close.
HANDLE gWatcher = nullptr;
DWORD gWatcherId = 0;
HANDLE gWatcherReady = nullptr;         // its window made, or given up
HANDLE gTidiedUp = nullptr;             // the program is past its event loop's end
std::atomic<bool> gSessionEnds{false};  // the watcher waits in WM_ENDSESSION

LRESULT CALLBACK onSessionMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_QUERYENDSESSION) return TRUE;
  if (message == WM_ENDSESSION) {
    if (wParam) {
      gSessionEnds = true;
      gSignal = SIGTERM;
      SetEvent(gAsked);
      // The process ends while this waits; it goes on only where the program had already ended
      // its event loop before the message came.
      WaitForSingleObject(gTidiedUp, INFINITE);
    }
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

DWORD WINAPI watchSessionEnd(void*) {
  WNDCLASSW kind{};
  kind.lpfnWndProc = onSessionMessage;
  kind.hInstance = GetModuleHandleW(nullptr);
  kind.lpszClassName = L"Wadwright session end";
  // A top-level window, never shown: a message-only one is not told of the session's end.
  HWND window = RegisterClassW(&kind) ? CreateWindowExW(0, kind.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                                        nullptr, kind.hInstance, nullptr)
                                      : nullptr;
  SetEvent(gWatcherReady);
  if (!window) return 1;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  DestroyWindow(window);
  UnregisterClassW(kind.lpszClassName, kind.hInstance);
  return 0;
}

// The watcher ends before the process does: a thread cut off by the process's end in the middle
// of making its window holds the windowing system's lock, and the exit then waits for it forever.
// One that waits in WM_ENDSESSION is left to the process's end.
void stopWatchingSessionEnd() {
  if (gSessionEnds) return;
  SetEvent(gTidiedUp);
  WaitForSingleObject(gWatcherReady, INFINITE);
  PostThreadMessageW(gWatcherId, WM_QUIT, 0, 0);
  WaitForSingleObject(gWatcher, INFINITE);
  CloseHandle(gWatcher);
  gWatcher = nullptr;
}

}  // namespace

void handleTerminationSignals(QObject* context, std::function<void(int)> handler) {
  if (!gAsked && !(gAsked = CreateEventW(nullptr, FALSE, FALSE, nullptr))) return;
  auto* notifier = new QWinEventNotifier(gAsked, context);
  QObject::connect(notifier, &QWinEventNotifier::activated, context, [handler] { handler(gSignal); });
  SetConsoleCtrlHandler(onConsoleEvent, TRUE);
  if (gWatcher) return;  // once
  gWatcherReady = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  gTidiedUp = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!gWatcherReady || !gTidiedUp) return;
  gWatcher = CreateThread(nullptr, 0, watchSessionEnd, nullptr, 0, &gWatcherId);
  if (gWatcher) QObject::connect(context, &QObject::destroyed, [] { stopWatchingSessionEnd(); });
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
