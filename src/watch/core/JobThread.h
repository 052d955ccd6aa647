#pragma once
// One thread kept for its owner's life, running the jobs posted to it one after another.
//
// A stream cam takes a still every refresh; starting a thread for each one left the allocator's
// per-thread arenas holding freed memory that a run of days saw grow. One long-lived thread a cam
// reuses its arena, and after each job hands the free memory at the top of it and the whole free
// pages inside it back to the system (ReleaseFreeMemory), so memory stays where one still left it.
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

    // Queues `job`; the thread starts at the first one. `releaseAfter`: when the job is done,
    // the memory it freed goes back to the system (for jobs that allocate a lot, once).
    void post(std::function<void()> job, bool releaseAfter = true);
    // Waits until every posted job has run and the thread has ended; the next post starts it
    // again. The owner makes its jobs end first (their abandon flags), or this waits for them.
    void finish();
    // Threads started so far (a test sees one thread serve many jobs).
    int threadsStarted() const;

private:
    void Run();

    struct Job {
        std::function<void()> run;
        bool releaseAfter = true;
    };
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Job> jobs_;
    bool ending_ = false;
    int started_ = 0;
    std::thread thread_;
};

// Gives memory the allocator holds free back to the system: the top of each arena and the whole
// free pages inside them. Does nothing where the C library has no such call.
void ReleaseFreeMemory();
