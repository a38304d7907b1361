#include "tools/bspatch/apply_vcdiff.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <future>
#include <memory>
#include <new>
#include <stdexcept>
#include <string>
#include <system_error>
#include <utility>
#include <vector>

#include "tools/bspatch/task_thread.h"
#include "tools/bspatch/vcdiff_sections.h"
#include "tools/bspatch/vcdiff_window.h"
#include "tools/bspatch/vcdiff_windows.h"

namespace bspatch::vcdiff {

namespace {

// Work smaller than this is done where it is met: handing it to another thread would cost more
// than it saves, and a patch of a million tiny windows stays on one thread.
constexpr size_t kHandOver = 64 * 1024;
// A window being made is written in pieces of this size while the rest is made.
constexpr size_t kWritePiece = 1 << 20;

void writeAll(int fd, const unsigned char* bytes, size_t size) {
  for (size_t done = 0; done < size;) {
    const ssize_t wrote = write(fd, bytes + done, size - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote < 0) throw std::system_error(errno, std::generic_category(), "cannot write the new file");
    done += static_cast<size_t>(wrote);
  }
}

// The new file is flushed to disk before it gets its name: starting on that as the pieces of a
// large window are written leaves the flush little to wait for.
void startWriteback([[maybe_unused]] int fd) {
#ifdef __linux__
  sync_file_range(fd, 0, 0, SYNC_FILE_RANGE_WRITE);
#endif
}

std::string hex(uint32_t value) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", value);
  return text;
}

// A window read, with its sections decompressed or on their way. Two take turns, so that the
// next window's sections are decompressed while this one is made.
struct InFlight {
  Window window;
  bool waiting = false;  // read but not yet made
  // Its sections read, and decompressed or handed to be. A window with no large compressed section
  // is read only when it is made: reading ahead would only take memory.
  bool decompressed = false;
  std::vector<unsigned char> storedAhead;  // its stored sections, if read before it is made
  std::span<const unsigned char> stored;
  std::vector<unsigned char> buffers[kSectionCount];
  std::span<const unsigned char> plain[kSectionCount];
  std::future<void> decoding[kSectionCount];  // of the sections handed to their threads
  std::exception_ptr failed[kSectionCount];   // what decompressing the others here threw
};

class Applier {
 public:
  Applier(const Patch& patch, std::span<const unsigned char> old, int outFd,
          const std::function<void(std::span<const unsigned char>)>& releaseOld)
      : patch_(patch), old_(old), outFd_(outFd), releaseOld_(releaseOld), sections_(patch.secondary()) {}

  void run() {
    WindowReader reader(patch_, static_cast<int64_t>(old_.size()));
    int now = 0;
    for (bool more = begin(reader, slots_[0], slots_[1]); more; now = 1 - now) {
      more = begin(reader, slots_[1 - now], slots_[now]);
      make(reader, slots_[now]);
    }
    finishWriting();
  }

 private:
  // Reads the next window's header into `slot`, after `before`, and hands its large compressed
  // sections to their threads; false after the last window.
  bool begin(WindowReader& reader, InFlight& slot, InFlight& before) {
    if (!reader.next(slot.window)) return false;
    slot.waiting = true;
    slot.decompressed = false;
    for (int s = 0; s < kSectionCount; ++s) {
      if (slot.window.compressed[s] && static_cast<size_t>(slot.window.sectionLength[s]) >= kHandOver) {
        // Each kind of section is one stream through the windows: the one before goes first.
        if (before.waiting && !before.decompressed) decompress(reader, before, slot, before.storedAhead);
        decompress(reader, slot, before, slot.storedAhead);
        break;
      }
    }
    return true;
  }

  // Reads `slot`'s sections and decompresses them, the large ones on their threads, after those of
  // `before`, the window before it.
  void decompress(WindowReader& reader, InFlight& slot, InFlight& before, std::vector<unsigned char>& stored) {
    slot.decompressed = true;
    if (slot.window.end == slot.window.sectionOffset[kData]) {  // an empty window, of which there may be millions
      for (auto& plain : slot.plain) plain = {};
      return;
    }
    reader.sections(slot.window, stored);
    slot.stored = stored;
    const Window& w = slot.window;
    for (int s = 0; s < kSectionCount; ++s) {
      const auto section = slot.stored.subspan(
          static_cast<size_t>(w.sectionOffset[s] - w.sectionOffset[kData]), static_cast<size_t>(w.sectionLength[s]));
      const auto task = [this, &slot, s, section] {
        slot.plain[s] = sections_.plain(slot.window, s, section, slot.buffers[s]);
      };
      if (w.compressed[s] && section.size() >= kHandOver) {
        slot.decoding[s] = thread(s).post(task);
        continue;
      }
      // The section's stream goes on from the window before: its thread must be done with that.
      if (before.decoding[s].valid()) before.decoding[s].wait();
      try {
        task();
      } catch (...) {
        slot.failed[s] = std::current_exception();
      }
    }
  }

  // Makes `slot`'s window and writes it, in pieces while it is made if it is large.
  void make(WindowReader& reader, InFlight& slot) {
    slot.waiting = false;
    if (!slot.decompressed) decompress(reader, slot, slot, stored_);  // the window before is done with
    for (int s = 0; s < kSectionCount; ++s) {
      if (slot.decoding[s].valid()) slot.decoding[s].get();
      if (slot.failed[s]) std::rethrow_exception(std::exchange(slot.failed[s], nullptr));
    }
    finishWriting();  // the window before, from the buffer this one is made in
    const Window& w = slot.window;
    target_.resize(static_cast<size_t>(w.targetSize));
    written_ = 0;
    sum_ = 1;
    const auto segment = old_.subspan(static_cast<size_t>(w.segmentPosition), static_cast<size_t>(w.segmentSize));
    const bool large = target_.size() >= kHandOver;
    std::function<void(size_t)> progress;  // for a small window, none: it is made in no time
    if (large) {
      progress = [this, segment](size_t made) {
        writeUpTo(made, true);
        if (releaseOld_) releaseOld_(segment);
      };
    }
    decodeWindow(w, segment, {slot.plain[kData], slot.plain[kInstructions], slot.plain[kAddresses]}, target_,
                 progress, kWritePiece);
    // The old file's pages read stay ours until let go: at least every kWritePiece bytes made, so
    // that they are at most about the old bytes those few new ones took, not the whole old file.
    if (!segment.empty()) {
      oldFrom_ = std::min(oldFrom_, static_cast<size_t>(w.segmentPosition));
      oldTo_ = std::max(oldTo_, static_cast<size_t>(w.segmentPosition + w.segmentSize));
    }
    madeSinceRelease_ += target_.size();
    if (madeSinceRelease_ >= kWritePiece) {
      if (releaseOld_ && oldFrom_ < oldTo_) releaseOld_(old_.subspan(oldFrom_, oldTo_ - oldFrom_));
      oldFrom_ = SIZE_MAX;
      oldTo_ = 0;
      madeSinceRelease_ = 0;
    }
    // A small window is checked before any of it is written; a large one once all of it is.
    const auto check = [this, number = w.number, checksum = w.checksum] {
      if (sum_ != checksum) {
        throw std::runtime_error("does not fit this old file (or is damaged): window " + std::to_string(number) +
                                 " comes out with Adler-32 " + hex(sum_) + ", not " + hex(checksum));
      }
    };
    if (!large) {
      if (w.hasChecksum && (sum_ = adler32(target_)) != w.checksum) check();
      writeAll(outFd_, target_.data(), target_.size());
      return;
    }
    writeUpTo(target_.size(), true);
    if (w.hasChecksum) writes_.push_back(writer().post(check));
  }

  // Writes the bytes of the window being made up to `made`, summing them; on the writer thread if
  // `handOver`.
  void writeUpTo(size_t made, bool handOver) {
    const auto piece = std::span<const unsigned char>(target_).subspan(written_, made - written_);
    written_ = made;
    if (piece.empty()) return;
    const auto task = [this, piece, handOver] {
      sum_ = adler32(piece, sum_);
      writeAll(outFd_, piece.data(), piece.size());
      if (handOver) startWriteback(outFd_);
    };
    if (handOver) {
      writes_.push_back(writer().post(task));
    } else {
      task();
    }
  }

  // Waits for what the writer has been given, and throws the first thing it threw.
  void finishWriting() {
    std::vector<std::future<void>> writes = std::move(writes_);
    writes_.clear();
    for (auto& write : writes) write.wait();
    for (auto& write : writes) write.get();
  }

  // Started only when first needed: a small patch needs none.
  TaskThread& thread(int section) { return started(decoders_[section]); }
  TaskThread& writer() { return started(writer_); }
  static TaskThread& started(std::unique_ptr<TaskThread>& thread) {
    try {
      if (!thread) thread = std::make_unique<TaskThread>();
    } catch (const std::system_error&) {
      throw std::bad_alloc();  // no room for another thread; std::system_error would blame the new file
    }
    return *thread;
  }

  const Patch& patch_;
  std::span<const unsigned char> old_;
  int outFd_;
  const std::function<void(std::span<const unsigned char>)>& releaseOld_;
  size_t oldFrom_ = SIZE_MAX, oldTo_ = 0;  // the old file's bytes read since they were last let go
  size_t madeSinceRelease_ = 0;
  SectionReader sections_;
  InFlight slots_[2];
  std::vector<unsigned char> stored_;  // of the window being made, if not read ahead
  std::vector<unsigned char> target_;
  size_t written_ = 0;  // of target_, handed to be written
  uint32_t sum_ = 1;    // Adler-32 of those bytes; the writer's while it has any
  std::vector<std::future<void>> writes_;
  // After what their tasks use, so that they end first.
  std::unique_ptr<TaskThread> decoders_[kSectionCount];
  std::unique_ptr<TaskThread> writer_;
};

}  // namespace

void applyPatch(const Patch& patch, std::span<const unsigned char> old, int outFd,
                const std::function<void(std::span<const unsigned char>)>& releaseOld) {
  Applier(patch, old, outFd, releaseOld).run();
}

}  // namespace bspatch::vcdiff
