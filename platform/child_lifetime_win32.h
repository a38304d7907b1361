#pragma once

namespace platform {

// True once this process is in the job that ends every helper with it (see child_lifetime.h).
bool inHelpersJob();

}  // namespace platform
