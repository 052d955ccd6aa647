#include "JobThread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

namespace {

// Many jobs run in the order posted, all on one thread that is not the poster's; finish() waits
// for the last of them, and a post after it starts one thread anew.
TEST(JobThreadTest, OneThreadRunsEveryJobInTurnAndFinishWaitsForThem)
{
    JobThread jobs;
    std::mutex mutex;
    std::vector<int> order;
    std::set<std::thread::id> threads;
    for (int job = 0; job < 50; ++job)
        jobs.post([&, job] {
            if (job == 0)  // the later ones queue meanwhile
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            std::lock_guard<std::mutex> lock(mutex);
            order.push_back(job);
            threads.insert(std::this_thread::get_id());
        });
    jobs.finish();
    ASSERT_EQ(order.size(), 50u);
    for (int job = 0; job < 50; ++job)
        EXPECT_EQ(order[job], job);
    EXPECT_EQ(threads.size(), 1u);
    EXPECT_EQ(threads.count(std::this_thread::get_id()), 0u);
    EXPECT_EQ(jobs.threadsStarted(), 1);

    std::atomic<bool> ranAgain{false};
    jobs.post([&] { ranAgain = true; });
    jobs.finish();
    EXPECT_TRUE(ranAgain);
    EXPECT_EQ(jobs.threadsStarted(), 2);
    jobs.finish();  // nothing running: returns at once
}

// The owner goes while a job runs and another waits: both run to their end first (the owner's
// jobs hold references to it, so none may outlive it), and nothing runs after.
TEST(JobThreadTest, GoingRunsWhatIsPostedFirst)
{
    std::atomic<int> ran{0};
    std::atomic<bool> running{false};
    {
        JobThread jobs;
        jobs.post([&] {
            running = true;
            std::this_thread::sleep_for(std::chrono::milliseconds(30));
            ++ran;
        });
        jobs.post([&] { ++ran; });
        while (!running)
            std::this_thread::yield();
    }
    EXPECT_EQ(ran, 2);
}

}  // namespace
