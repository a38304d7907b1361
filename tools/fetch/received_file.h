#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "tools/common/pending_file.h"
#include "tools/fetch/sha256.h"

namespace fetch {

class TargetFolder;

/// The file as its bytes come, written to a pending file in TARGET's nearest existing folder and
/// hashed on the way. It gets TARGET's name only in finish(), once its size and SHA-256 are the
/// pinned ones, and only then are TARGET's missing folders made; on any failure, or when it is
/// destroyed unfinished, nothing is left. Reports progress on standard
/// output as "BYTES TOTAL" lines, a few a second at most.
class ReceivedFile {
 public:
  /// Throws FetchFailure when the pending file cannot be made (no room for `size` bytes, say).
  ReceivedFile(const std::string& target, TargetFolder& folder, int64_t size, const std::string& sha256);

  int64_t size() const { return size_; }
  int64_t received() const { return received_; }

  /// Takes the next bytes. Throws FetchFailure once they run past the pinned size, or cannot be written.
  void add(const void* bytes, size_t count);
  /// Proves the whole and stores it under TARGET's name; throws FetchFailure if it is not the pinned file.
  void finish();
  /// Reports the bytes so far if no line has said them yet: called while nothing comes.
  void reportPending() { report(false); }

 private:
  void report(bool always);

  std::string target_;
  TargetFolder& folder_;
  int64_t size_;
  std::string sha256_;
  tools::PendingFile pending_;
  Sha256 digest_;
  int64_t received_ = 0;
  int64_t reported_ = -1;
  std::chrono::steady_clock::time_point lastReport_;
};

}  // namespace fetch
