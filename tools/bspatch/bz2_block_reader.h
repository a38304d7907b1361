#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <thread>

#include "tools/bspatch/chunk_queue.h"

namespace bspatch {

// Decodes one bzip2 stream, which must fill the byte range [offset, offset + length) of the file
// open on `fd` exactly, on a thread of its own: the three blocks of a patch decode side by side,
// and decoding is most of the work of patching.
class Bz2BlockReader {
 public:
  // `name` ("diff block") starts the messages about this block.
  Bz2BlockReader(int fd, int64_t offset, int64_t length, std::string name);
  ~Bz2BlockReader();
  Bz2BlockReader(const Bz2BlockReader&) = delete;
  Bz2BlockReader& operator=(const Bz2BlockReader&) = delete;

  // The next decoded bytes, at most `max` of them; empty only at the end of the stream.
  // Throws std::runtime_error if the stream is damaged or cut short.
  std::span<const unsigned char> next(size_t max);
  // Fills `dst` with up to `size` bytes; fewer only at the end of the stream.
  size_t read(unsigned char* dst, size_t size);
  // Throws unless the stream ends here, cleanly, with no bytes left.
  void expectEnd();

 private:
  void decode(int fd, int64_t offset, int64_t length);

  std::string name_;
  ChunkQueue queue_;
  Chunk current_;
  size_t position_ = 0;
  bool holding_ = false;  // current_ is one of the queue's buffers, to be handed back
  bool ended_ = false;
  std::thread thread_;
};

}  // namespace bspatch
