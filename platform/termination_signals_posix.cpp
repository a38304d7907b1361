#include "termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QSocketNotifier>
#include <csignal>

namespace platform {

namespace {

int gPipe[2] = {-1, -1};

// All a signal handler may do: write the signal's number where the event loop will read it.
void onSignal(int number) {
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

}  // namespace platform
