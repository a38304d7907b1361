#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <vector>

namespace bspatch {

// A buffer of bytes; `size` of them are in use. Left uninitialised until written.
struct Chunk {
  std::unique_ptr<unsigned char[]> data;
  size_t size = 0;
};

// Passes chunks of bytes from one producer thread to one consumer. Only `maxChunks` buffers
// exist and they are handed back and forth, so a producer that runs ahead waits instead of
// filling memory.
class ChunkQueue {
 public:
  explicit ChunkQueue(size_t maxChunks);

  // Producer: waits for a free buffer. Returns false once the consumer has cancelled.
  bool acquire(Chunk& chunk);
  void push(Chunk chunk);
  // Producer: no more chunks will come; `error`, if given, is why the data stopped early.
  void finish(std::exception_ptr error = nullptr);

  // Consumer: waits for the next chunk. Returns false at the end of the data, and throws the
  // producer's error if it stopped on one.
  bool pop(Chunk& chunk);
  void release(Chunk chunk);
  // Consumer: wants no more data; wakes the producer so it can stop.
  void cancel();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Chunk> free_;
  std::deque<Chunk> full_;
  bool finished_ = false;
  bool cancelled_ = false;
  std::exception_ptr error_;
};

}  // namespace bspatch
