#pragma once

#include <functional>

class QObject;

namespace platform {

/// Has `handler` called on the event loop of `context`'s thread, with the signal's number, when
/// the process is asked to end (SIGTERM at logout, SIGINT from Ctrl+C, SIGHUP when its terminal
/// goes), instead of dying at once with a half-made file behind it.
void handleTerminationSignals(QObject* context, std::function<void(int)> handler);

}  // namespace platform
