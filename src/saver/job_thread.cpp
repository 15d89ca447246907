#include "saver/job_thread.h"

#include <utility>

namespace tintwalk {

JobThread::JobThread() : thread_([this] { Serve(); }) {}

JobThread::~JobThread() {
    {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock, [this] { return !busy_; });
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void JobThread::Start(std::function<void()> job) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        job_ = std::move(job);
        busy_ = true;
    }
    changed_.notify_all();
}

void JobThread::Wait() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !busy_; });
}

void JobThread::Serve() {
    std::unique_lock<std::mutex> lock(mutex_);
    while (true) {
        changed_.wait(lock, [this] { return busy_ || stopping_; });
        if (stopping_)
            return;
        lock.unlock();
        job_();
        lock.lock();
        busy_ = false;
        changed_.notify_all();
    }
}

}  // namespace tintwalk
