#include "tools/bspatch/chunk_queue.h"

#include <utility>

namespace bspatch {

ChunkQueue::ChunkQueue(size_t maxChunks) : free_(maxChunks) {}

bool ChunkQueue::acquire(Chunk& chunk) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return cancelled_ || !free_.empty(); });
  if (cancelled_) return false;
  chunk = std::move(free_.back());
  free_.pop_back();
  return true;
}

void ChunkQueue::push(Chunk chunk) {
  {
    std::lock_guard lock(mutex_);
    full_.push_back(std::move(chunk));
  }
  changed_.notify_all();
}

void ChunkQueue::finish(std::exception_ptr error) {
  {
    std::lock_guard lock(mutex_);
    finished_ = true;
    error_ = std::move(error);
  }
  changed_.notify_all();
}

bool ChunkQueue::pop(Chunk& chunk) {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return finished_ || !full_.empty(); });
  if (!full_.empty()) {
    chunk = std::move(full_.front());
    full_.pop_front();
    return true;
  }
  if (error_) std::rethrow_exception(error_);
  return false;
}

void ChunkQueue::release(Chunk chunk) {
  {
    std::lock_guard lock(mutex_);
    free_.push_back(std::move(chunk));
  }
  changed_.notify_all();
}

void ChunkQueue::cancel() {
  {
    std::lock_guard lock(mutex_);
    cancelled_ = true;
  }
  changed_.notify_all();
}

}  // namespace bspatch
