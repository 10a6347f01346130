#pragma once

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

// A queue entry: a component and the value it drives.
using QueueEntry = std::pair<int, bool>;

// A block of entries standing `count` times in a row in the queue.
struct Run {
    std::vector<QueueEntry> block;
    std::uint64_t count;
};

// The propagation queue, first in first out, holding repeated entries as counted
// runs. A circuit whose gates are fed twice by the level before them queues
// 2^depth copies of the same entries; a run keeps them as one.
class RunQueue {
  public:
    bool empty() const { return runs.empty(); }
    void clear() { runs.clear(); }
    std::size_t runCount() const { return runs.size(); }

    // One entry, once.
    void push(QueueEntry entry) { pushRun({entry}, 1); }
    // Each entry once, in order.
    void pushEach(const std::vector<QueueEntry>& entries);
    // The whole block `count` times; a block that is itself a repetition of a
    // shorter one is stored as that shorter one, so runs of it merge.
    void pushRepeated(const std::vector<QueueEntry>& block, std::uint64_t count);

    Run popFront();

    // Everything the queue holds, expanded: for tests and small queues only.
    std::vector<QueueEntry> expanded() const;

  private:
    void pushRun(std::vector<QueueEntry> block, std::uint64_t count);
    bool foldTail(const std::vector<QueueEntry>& block);

    std::deque<Run> runs;
};

// Counts that stand for more walks than could ever be made stop growing at the top.
std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b);
std::uint64_t saturatingMul(std::uint64_t a, std::uint64_t b);
