#include "graph/run_queue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <random>

// Against a plain queue: blocks pushed a few times each come out entry for entry, however folded
// into runs, while some 200,000 runs are taken and the taken ones dropped from the store again
// and again, as in a long pass.
TEST(run_queue, gives_back_every_entry_in_order_through_a_long_pass) {
    RunQueue queue;
    std::deque<QueueEntry> model;
    std::mt19937 rng(24);
    std::vector<QueueEntry> taken;
    for (int step = 0; step < 400000; ++step) {
        if (model.size() < 1000 || rng() % 2 == 0) {
            QueueEntry block[4];
            std::size_t size = 1 + rng() % 4, count = 1 + rng() % 3;
            std::generate_n(block, size, [&] { return rng() % 6; });  // few: runs form often
            queue.pushRepeated(block, size, count);
            for (std::size_t i = 0; i < count; ++i)
                model.insert(model.end(), block, block + size);
            continue;
        }
        auto run = queue.popFront(taken);
        for (std::uint64_t i = 0; i < run.count * run.blockSize; ++i, model.pop_front())
            ASSERT_EQ(run.single() ? run.entry() : taken[i % run.blockSize], model.at(0)) << step;
    }
}
