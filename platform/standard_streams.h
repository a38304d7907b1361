#pragma once

namespace platform {

/// Puts the null device where a standard stream was closed (`>&-`), so that no file opened later
/// takes its number and gets what was meant for the stream. Standard output is opened read-only
/// there: writing it still fails, and the program can say so. A Windows console is made to show
/// the UTF-8 the program writes.
void guardStandardStreams();

/// True when standard error is a terminal that a person reads, not a file or a pipe: a line that
/// redraws itself is for it alone.
bool standardErrorIsTerminal();

/// True where a window can be opened: a display to show it on is named.
bool hasDisplay();

}  // namespace platform
