#include "tools/bspatch/bz2_block_reader.h"

#include <bzlib.h>
#include "tools/common/positioned_read.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <stdexcept>
#include <utility>

namespace bspatch {

namespace {

// Large enough that handing chunks over costs nothing next to decoding them, small enough that
// the chunks in flight stay a few megabytes for all three blocks together.
constexpr size_t kChunkSize = 256 * 1024;
constexpr size_t kChunksInFlight = 4;
constexpr size_t kInputSize = 64 * 1024;

std::string bz2Problem(int code) {
  switch (code) {
    case BZ_DATA_ERROR_MAGIC:
      return "is not bzip2 data";
    case BZ_DATA_ERROR:
      return "is damaged (bad bzip2 data)";
    default:
      return "cannot be decoded (bzip2 error " + std::to_string(code) + ")";
  }
}

// Decodes the stream into the queue's chunks until it ends or the consumer cancels.
void decodeStream(bz_stream& stream, int fd, int64_t offset, int64_t length, ChunkQueue& queue,
                  const std::string& name) {
  char input[kInputSize];
  int64_t unread = length;  // of the block, not yet handed to libbz2
  Chunk chunk;
  while (queue.acquire(chunk)) {
    if (!chunk.data) chunk.data = std::make_unique_for_overwrite<unsigned char[]>(kChunkSize);
    stream.next_out = reinterpret_cast<char*>(chunk.data.get());
    stream.avail_out = kChunkSize;
    int code = BZ_OK;
    while (stream.avail_out > 0) {
      if (stream.avail_in == 0 && unread > 0) {
        const size_t want = static_cast<size_t>(std::min<int64_t>(unread, kInputSize));
        ssize_t got;
        do {
          got = pread(fd, input, want, offset + (length - unread));
        } while (got < 0 && errno == EINTR);
        if (got < 0) throw std::runtime_error("cannot read " + name + ": " + std::strerror(errno));
        if (got == 0) throw std::runtime_error("patch shrank while being read");
        stream.next_in = input;
        stream.avail_in = static_cast<unsigned>(got);
        unread -= got;
      }
      const unsigned outBefore = stream.avail_out;
      code = BZ2_bzDecompress(&stream);
      if (code == BZ_STREAM_END) break;
      if (code == BZ_MEM_ERROR) throw std::bad_alloc();
      if (code != BZ_OK) throw std::runtime_error(name + " " + bz2Problem(code));
      // libbz2 stops short of a full output buffer only when it needs more input.
      if (stream.avail_in == 0 && unread == 0 && stream.avail_out == outBefore) {
        throw std::runtime_error(name + " is cut short (its bzip2 stream has no end)");
      }
    }
    chunk.size = kChunkSize - stream.avail_out;
    queue.push(std::move(chunk));
    if (code == BZ_STREAM_END) {
      const int64_t left = unread + stream.avail_in;
      if (left > 0) {
        throw std::runtime_error(name + " has " + std::to_string(left) +
                                 " bytes after the end of its bzip2 stream");
      }
      return;
    }
  }
}

}  // namespace

Bz2BlockReader::Bz2BlockReader(int fd, int64_t offset, int64_t length, std::string name)
    : name_(std::move(name)), queue_(kChunksInFlight) {
  thread_ = std::thread([this, fd, offset, length] { decode(fd, offset, length); });
}

Bz2BlockReader::~Bz2BlockReader() {
  queue_.cancel();
  thread_.join();
}

void Bz2BlockReader::decode(int fd, int64_t offset, int64_t length) {
  bz_stream stream{};
  const int init = BZ2_bzDecompressInit(&stream, 0, 0);
  if (init != BZ_OK) {
    queue_.finish(init == BZ_MEM_ERROR ? std::make_exception_ptr(std::bad_alloc())
                                       : std::make_exception_ptr(std::runtime_error(name_ + " " + bz2Problem(init))));
    return;
  }
  try {
    decodeStream(stream, fd, offset, length, queue_, name_);
    queue_.finish();
  } catch (...) {
    queue_.finish(std::current_exception());
  }
  BZ2_bzDecompressEnd(&stream);
}

std::span<const unsigned char> Bz2BlockReader::next(size_t max) {
  while (position_ == current_.size) {
    if (ended_) return {};
    if (holding_) queue_.release(std::move(current_));
    holding_ = false;
    current_ = Chunk();
    position_ = 0;
    if (!queue_.pop(current_)) {
      ended_ = true;
      return {};
    }
    holding_ = true;
  }
  const size_t size = std::min(max, current_.size - position_);
  std::span<const unsigned char> piece(current_.data.get() + position_, size);
  position_ += size;
  return piece;
}

size_t Bz2BlockReader::read(unsigned char* dst, size_t size) {
  size_t done = 0;
  while (done < size) {
    const auto piece = next(size - done);
    if (piece.empty()) break;
    std::memcpy(dst + done, piece.data(), piece.size());
    done += piece.size();
  }
  return done;
}

void Bz2BlockReader::expectEnd() {
  if (!next(1).empty()) {
    throw std::runtime_error(name_ + " holds more data than the control block uses");
  }
}

}  // namespace bspatch
