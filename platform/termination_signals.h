#pragma once

#include <functional>

class QObject;

namespace platform {

/// Has `handler` called on the event loop of `context`'s thread, with the signal's number, when
/// the process is asked to end (SIGTERM at logout, SIGINT from Ctrl+C, SIGHUP when its terminal
/// goes), instead of dying at once with a half-made file behind it.
void handleTerminationSignals(QObject* context, std::function<void(int)> handler);

/// The number of the first signal that asked the process to end, 0 while none has. Work that runs
/// without an event loop (a search, a run over many files) reads it between its steps.
int terminationSignal();

/// Waits `milliseconds`, or less when the process is asked to end meanwhile; then says whether it
/// has been. For waits that cannot be handed to an event loop, such as one for a lock.
bool waitUnlessAskedToEnd(int milliseconds);

}  // namespace platform
