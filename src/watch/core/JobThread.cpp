#include "JobThread.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReleaseFreeMemory()
{
#if defined(__GLIBC__)
    // glibc keeps freed chunks inside its arenas; only a trim hands whole free pages in the
    // middle of an arena back (madvise), which is where a decoder's frame buffers end up.
    malloc_trim(0);
#endif
}

JobThread::~JobThread()
{
    finish();
}

void JobThread::post(std::function<void()> job, bool releaseAfter)
{
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back({std::move(job), releaseAfter});
    if (!thread_.joinable()) {
        ending_ = false;
        ++started_;
        thread_ = std::thread([this] { Run(); });
    }
    wake_.notify_one();
}

void JobThread::finish()
{
    std::thread ended;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable())
            return;
        ending_ = true;
        ended = std::move(thread_);
    }
    wake_.notify_one();
    ended.join();
}

int JobThread::threadsStarted() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return started_;
}

void JobThread::Run()
{
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        wake_.wait(lock, [this] { return ending_ || !jobs_.empty(); });
        if (jobs_.empty())
            return;  // ending, and nothing left to run
        Job job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job.run();
        job.run = nullptr;  // whatever the job held is freed before the release below
        if (job.releaseAfter)
            ReleaseFreeMemory();
        lock.lock();
    }
}
