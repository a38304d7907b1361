#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

namespace bspatch {

// A thread that runs the tasks it is given one after another, in the order given. Destroying it
// waits for the task it is running; those not yet begun are dropped.
class TaskThread {
 public:
  TaskThread();
  ~TaskThread();
  TaskThread(const TaskThread&) = delete;
  TaskThread& operator=(const TaskThread&) = delete;

  // Queues `task`; the future tells when it is done and holds what it threw.
  std::future<void> post(std::function<void()> task);

 private:
  void run();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::packaged_task<void()>> tasks_;
  bool stopping_ = false;
  std::thread thread_;  // last: it starts once the rest is ready
};

}  // namespace bspatch
