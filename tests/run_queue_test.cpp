// The run-length queue against a plain queue: whatever runs and blocks it folds
// entries into, it must hand back the same entries in the same order.

#include <gtest/gtest.h>

#include <deque>
#include <random>

#include "graph/run_queue.h"

TEST(run_queue, hands_back_exactly_what_was_pushed_in_order) {
    std::mt19937 rng(11);
    RunQueue queue;
    std::deque<QueueEntry> model;
    std::vector<QueueEntry> block;
    auto popAndCompare = [&] {
        ::Run run = queue.popFront(block);
        std::vector<QueueEntry> entries = run.single() ? std::vector{run.entry()} : block;
        for (std::uint64_t i = 0; i < run.count; ++i)
            for (QueueEntry entry : entries) {
                ASSERT_FALSE(model.empty());
                ASSERT_EQ(entry, model.front());
                model.pop_front();
            }
    };
    // A few distinct entries, so that runs merge and blocks repeat and fold; the
    // first phase queues far more runs than are taken, so the store is compacted.
    for (int step = 0; step < 400000; ++step) {
        bool filling = step < 150000;
        if (!queue.empty() && rng() % (filling ? 8 : 2) == 0) {
            popAndCompare();
            continue;
        }
        std::vector<QueueEntry> pushed(1 + rng() % 4);
        for (QueueEntry& entry : pushed)
            entry = queueEntry(static_cast<int>(rng() % (filling ? 50 : 3)), rng() % 2);
        std::uint64_t count = 1 + rng() % 3 / 2;
        queue.pushRepeated(pushed.data(), pushed.size(), count);
        for (std::uint64_t i = 0; i < count; ++i)
            model.insert(model.end(), pushed.begin(), pushed.end());
    }
    while (!queue.empty())
        popAndCompare();
    EXPECT_TRUE(model.empty());
}
