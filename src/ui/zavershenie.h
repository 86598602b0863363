// Hand-over of a task from a worker thread to the main thread, with the
// worker waiting until the task is done (or dropped unrun).
//
// Built on std::mutex and std::condition_variable rather than Qt's blocking
// queued calls so that the ordering between the two threads is the standard
// library's: a task's writes are visible to the waiting thread when Zhdat
// returns.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>

// One completion: Signal may come from any thread, any number of times;
// Zhdat blocks until the first Signal.
class TZavershenie {
  public:
    void Signal() {
        {
            std::lock_guard<std::mutex> l(m_);
            gotovo_ = true;
        }
        cv_.notify_all();
    }
    void Zhdat() {
        std::unique_lock<std::mutex> l(m_);
        cv_.wait(l, [this] { return gotovo_; });
    }

  private:
    std::mutex m_;
    std::condition_variable cv_;
    bool gotovo_ = false;
};

// Signals its completion when destroyed. Held (through a shared_ptr) by every
// copy of a task handed to the main thread, it signals once the last copy is
// gone: after the task has run, or when the task is dropped unrun (its
// receiver was destroyed), so the waiting thread never hangs.
class TMetkaZaversheniya {
  public:
    explicit TMetkaZaversheniya(std::shared_ptr<TZavershenie> z) : z_(std::move(z)) {}
    ~TMetkaZaversheniya() { z_->Signal(); }
    TMetkaZaversheniya(const TMetkaZaversheniya&) = delete;
    TMetkaZaversheniya& operator=(const TMetkaZaversheniya&) = delete;

  private:
    std::shared_ptr<TZavershenie> z_;
};
