#pragma once

#include <cstdint>
#include <deque>
#include <utility>
#include <vector>

// A queue entry: a component and the value it drives.
using QueueEntry = std::pair<int, bool>;

// A block of entries standing `count` times in a row in the queue. A block of
// one entry is held in the run itself; longer blocks live in the queue's block
// store, at [blockStart, blockStart + blockSize).
struct Run {
    QueueEntry single;
    std::uint32_t blockStart;
    std::uint32_t blockSize;
    std::uint64_t count;
};

// The propagation queue, first in first out, holding repeated entries as counted
// runs. A circuit whose gates are fed twice by the level before them queues
// 2^depth copies of the same entries; a run keeps them as one.
class RunQueue {
  public:
    bool empty() const { return runs.empty(); }
    void clear();

    // One entry, once.
    void push(QueueEntry entry);
    // The whole block `count` times. A block that is itself a repetition of a
    // shorter one is stored as that shorter one, so runs of it merge; a block
    // queued once that does not repeat what came before goes in entry by entry.
    void pushRepeated(const std::vector<QueueEntry>& block, std::uint64_t count);

    // Takes the front run off; its block is copied into `block`.
    Run popFront(std::vector<QueueEntry>& block);

  private:
    bool tailIs(const QueueEntry* block, std::size_t size) const;
    bool foldTail(const QueueEntry* block, std::size_t size);
    void pushBlock(const QueueEntry* block, std::size_t size, std::uint64_t count);

    std::deque<Run> runs;
    std::vector<QueueEntry> blockStore;  // emptied whenever the queue runs empty
};

// Counts that stand for more walks than could ever be made stop growing at the top.
std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b);
std::uint64_t saturatingMul(std::uint64_t a, std::uint64_t b);
