#pragma once

#include <QString>

class QProcess;

namespace platform {

/// Gives the program `process` starts the command line it was named in as its own, as Windows
/// does: there the child reads it with GetCommandLine, and a child meant to outlive us
/// (`detached`) leaves the job that ends our helpers with us. On POSIX, where a child gets only
/// its words, it reads the line from WADWRIGHT_COMMAND_LINE and nothing more is needed here.
void passCommandLine(QProcess& process, const QString& commandLine, bool detached);

}  // namespace platform
