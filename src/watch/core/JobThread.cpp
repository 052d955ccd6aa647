#include "JobThread.h"

JobThread::~JobThread()
{
    finish();
}

void JobThread::post(std::function<void()> job)
{
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
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
        std::function<void()> job = std::move(jobs_.front());
        jobs_.pop_front();
        lock.unlock();
        job();
        job = nullptr;  // what the job holds (its cam's shared state) goes before the next waits
        lock.lock();
    }
}
