#pragma once

#include <stdexcept>
#include <string>

namespace fetch {

/// The exit statuses the callers tell apart.
enum ExitStatus { kStored = 0, kNotTheFile = 1, kNotFetched = 2 };

/// Why the file was not stored: the one line the player reads, and the exit status that goes with it.
class FetchFailure : public std::runtime_error {
 public:
  FetchFailure(ExitStatus status, const std::string& reason) : std::runtime_error(reason), status_(status) {}
  ExitStatus status() const { return status_; }

 private:
  ExitStatus status_;
};

}  // namespace fetch
