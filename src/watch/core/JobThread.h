#pragma once
// One thread kept for its owner's life, running the jobs posted to it one after another.
//
// A stream cam takes a still every refresh; starting a thread for each one left the allocator's
// per-thread arenas holding freed memory that a run of days saw grow. One long-lived thread a cam
// reuses its arena, and after a job the free memory of every arena goes back to the system
// (ReleaseFreeMemory), at most once a minute in the whole program: a trim also empties the
// picture cams' arenas, whose next pictures then fault their pages in again, and trimming after
// every still of 8 stream cams cost a mixed window 20 times the page faults.
#include <QtGlobal>
#include <atomic>
#include <condition_variable>
#include <deque>
#include <functional>
#include <limits>
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
    // the memory freed goes back to the system unless that was done less than
    // kReleaseEveryMs ago.
    void post(std::function<void()> job, bool releaseAfter = true);
    // Waits until every posted job has run and the thread has ended; the next post starts it
    // again. The owner makes its jobs end first (their abandon flags), or this waits for them.
    void finish();
    static constexpr qint64 kReleaseEveryMs = 60 * 1000;

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
// Lets one of many threads through at most every `everyMs`: the program's jobs share one, so
// that the trims of all stream cams together come at most once a minute.
class ReleasePace {
public:
    explicit ReleasePace(qint64 everyMs) : everyMs_(everyMs) { }
    // Whether a release is due at `nowMs` (a steady clock's milliseconds); if so, the next one
    // is due `everyMs` later. The first call is always due.
    bool due(qint64 nowMs);

private:
    const qint64 everyMs_;
    std::atomic<qint64> lastMs_{std::numeric_limits<qint64>::min() / 2};
};
