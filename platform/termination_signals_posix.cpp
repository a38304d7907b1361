#include "termination_signals.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace platform {

namespace {

int gPipe[2] = {-1, -1};
volatile sig_atomic_t gSignal = 0;

// All a signal handler may do: note the signal, and write its number where the event loop (or a
// wait in poll) will read it.
void onSignal(int number) {
  if (!gSignal) gSignal = number;
  const unsigned char byte = static_cast<unsigned char>(number);
  [[maybe_unused]] ssize_t written = write(gPipe[1], &byte, 1);
}

}  // namespace

void handleTerminationSignals(QObject* context, std::function<void(int)> handler) {
  if (gPipe[0] < 0 && pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) return;
  auto* notifier = new QSocketNotifier(gPipe[0], QSocketNotifier::Read, context);
  QObject::connect(notifier, &QSocketNotifier::activated, context, [handler] {
    unsigned char byte = 0;
    while (read(gPipe[0], &byte, 1) == 1) handler(byte);
  });
  struct sigaction action {};
  action.sa_handler = onSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  for (int number : {SIGTERM, SIGINT, SIGHUP}) sigaction(number, &action, nullptr);
}

int terminationSignal() { return gSignal; }

bool waitUnlessAskedToEnd(int milliseconds) {
  if (gSignal) return true;
  // A signal that comes after the look at gSignal has left a byte in the pipe: poll returns at once.
  // The byte stays for the event loop's handler.
  pollfd pipe{gPipe[0], POLLIN, 0};
  poll(&pipe, gPipe[0] < 0 ? 0 : 1, milliseconds);
  return gSignal != 0;
}

}  // namespace platform
