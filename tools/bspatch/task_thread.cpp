#include "tools/bspatch/task_thread.h"

#include <utility>

namespace bspatch {

TaskThread::TaskThread() : thread_([this] { run(); }) {}

TaskThread::~TaskThread() {
  {
    const std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_one();
  thread_.join();
}

std::future<void> TaskThread::post(std::function<void()> task) {
  std::packaged_task<void()> packaged(std::move(task));
  std::future<void> done = packaged.get_future();
  {
    const std::lock_guard lock(mutex_);
    tasks_.push_back(std::move(packaged));
  }
  changed_.notify_one();
  return done;
}

void TaskThread::run() {
  for (;;) {
    std::packaged_task<void()> task;
    {
      std::unique_lock lock(mutex_);
      changed_.wait(lock, [this] { return stopping_ || !tasks_.empty(); });
      if (stopping_) return;
      task = std::move(tasks_.front());
      tasks_.pop_front();
    }
    task();  // what it throws goes to its future
  }
}

}  // namespace bspatch
