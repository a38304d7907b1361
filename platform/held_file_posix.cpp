#include "held_file.h"

namespace platform {

// A file cannot be made to go with a process here.
HeldFile::HeldFile(const QString&) {}

HeldFile::~HeldFile() = default;

}  // namespace platform
