#pragma once
// One thread kept for its owner's life, running the jobs posted to it one after another.
//
// A stream cam takes a still every refresh; one thread a cam, waiting between its jobs, spares
// starting (and tearing down) a thread every few seconds for as long as the program runs.
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

class JobThread {
public:
    JobThread() = default;
    JobThread(const JobThread&) = delete;
    JobThread& operator=(const JobThread&) = delete;
    // Runs what is still posted, then ends the thread (see finish()).
    ~JobThread();

    // Queues `job`; the thread starts at the first one.
    void post(std::function<void()> job);
    // Waits until every posted job has run and the thread has ended; the next post starts it
    // again. The owner makes its jobs end first (their abandon flags), or this waits for them.
    // Post and finish from one thread (the owner's).
    void finish();
    // Threads started so far (a test sees one thread serve many jobs).
    int threadsStarted() const;

private:
    void Run();

    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<std::function<void()>> jobs_;
    bool ending_ = false;
    int started_ = 0;
    std::thread thread_;
};
