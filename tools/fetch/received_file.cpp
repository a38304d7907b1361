#include "tools/fetch/received_file.h"

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>

#include "tools/fetch/fetch_failure.h"
#include "tools/fetch/interruption.h"
#include "tools/fetch/target_folder.h"

namespace fetch {

namespace {

tools::PendingFile makePending(const std::string& target, int64_t size, const std::string& folder) {
  try {
    return tools::PendingFile(target, size, folder);
  } catch (const std::runtime_error& e) {
    throw FetchFailure(kNotFetched, std::string("I cannot store ") + target + ": " + e.what() + ".");
  }
}

}  // namespace

ReceivedFile::ReceivedFile(const std::string& target, TargetFolder& folder, int64_t size, const std::string& sha256)
    : target_(target), folder_(folder), size_(size), sha256_(sha256), pending_(makePending(target, size, folder.existing())) {
  report(true);
}

void ReceivedFile::add(const void* bytes, size_t count) {
  if (count > uint64_t(size_ - received_)) {
    throw FetchFailure(kNotTheFile, "What came is not the collection's file: it runs past its " +
                                        std::to_string(size_) + " bytes.");
  }
  digest_.add(bytes, count);
  for (const char* next = static_cast<const char*>(bytes); count > 0;) {
    const auto written = ::write(pending_.fd(), next, count);
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) {
      throw FetchFailure(kNotFetched, "I could not write " + target_ + ": " + std::strerror(written < 0 ? errno : ENOSPC) + ".");
    }
    next += written;
    count -= size_t(written);
    received_ += written;
  }
  report(received_ == size_);
}

void ReceivedFile::finish() {
  if (received_ != size_) {
    throw FetchFailure(kNotTheFile, "What came is not the collection's file: it is " + std::to_string(received_) +
                                        " bytes, not " + std::to_string(size_) + ".");
  }
  if (digest_.hex() != sha256_) throw FetchFailure(kNotTheFile, "What came is not the collection's file: its SHA-256 differs.");
  folder_.make();
  endCleanlyOnSignals(folder_.made());
  try {
    pending_.commit();
  } catch (const std::runtime_error& e) {
    throw FetchFailure(kNotFetched, std::string("I could not store ") + target_ + ": " + e.what() + ".");
  }
}

void ReceivedFile::report(bool always) {
  // Five lines a second at most: the caller redraws a progress bar for each.
  const auto now = std::chrono::steady_clock::now();
  if (!always && (received_ == reported_ || now - lastReport_ < std::chrono::milliseconds(200))) return;
  lastReport_ = now;
  reported_ = received_;
  std::printf("%lld %lld\n", static_cast<long long>(received_), static_cast<long long>(size_));
  std::fflush(stdout);
}

}  // namespace fetch
