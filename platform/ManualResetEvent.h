#pragma once
// An event that stays set until it is reset: any number of threads see it set, and waiting on a
// set event returns at once.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>

namespace vantor {

class ManualResetEvent {
public:
    explicit ManualResetEvent(bool initiallySet = false) : set_(initiallySet) {}
    ManualResetEvent(const ManualResetEvent&) = delete;
    ManualResetEvent& operator=(const ManualResetEvent&) = delete;

    void Set() {
        {
            std::lock_guard lock(mutex_);
            set_ = true;
        }
        changed_.notify_all();
    }
    void Reset() {
        std::lock_guard lock(mutex_);
        set_ = false;
    }
    // Tests the event without waiting.
    bool IsSet() const { return set_.load(); }
    // Waits until the event is set or the time is up; true when it is set.
    bool Wait(std::chrono::milliseconds timeout) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, timeout, [this] { return set_.load(); });
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::atomic<bool> set_;
};

} // namespace vantor
