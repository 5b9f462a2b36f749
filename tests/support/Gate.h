#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

// A flag one thread raises and another waits for: a test holds work on another thread with it.
class Gate {
  public:
    void open() {
        const std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    // Waits until it is open, or at most `most`; whether it is open.
    bool wait(std::chrono::milliseconds most = std::chrono::hours(1)) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, most, [this] { return open_; });
    }

  private:
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
};
