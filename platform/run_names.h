#pragma once

#include <QString>

namespace platform {

// What a run leaves behind where a forced end gives it no chance to tidy up (a private folder in
// the session's or the temporary folder) bears its name, so that a later run can tell whether the
// one that made it still runs.

/// This run's name, unlike any other run's on this system, before or since: its process's id and
/// start time ("PID-START"), and where the system counts processes in more than one way (Linux's
/// PID namespaces), which count it is in. Only digits and dashes.
QString thisRunName();

/// True when the run that thisRunName() named `name` has ended for sure: no process of that id
/// and start runs now. False while it runs, and wherever that cannot be told (a name from another
/// PID namespace, a name not of this form).
bool runHasEnded(const QString& name);

}  // namespace platform
