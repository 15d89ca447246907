// One thread of its own that runs a job while its owner does something
// else: the next frame tick's passes while this tick is drawn. It is made
// once and takes one job at a time; the owner waits for a job before it
// starts the next.
#pragma once

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

namespace tintwalk {

class JobThread {
  public:
    // Throws std::system_error when no thread can be started.
    JobThread();
    // Waits for the job in hand, then ends the thread.
    ~JobThread();
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;

    // Hands the thread `job`; the last job must be done (Wait).
    void Start(std::function<void()> job);
    // Returns once the job last started is done; at once when there is none.
    void Wait();

  private:
    void Serve();

    std::mutex mutex_;
    std::condition_variable changed_;
    std::function<void()> job_;
    bool busy_ = false;
    bool stopping_ = false;
    std::thread thread_;  // last: it starts serving once the rest exists
};

}  // namespace tintwalk
