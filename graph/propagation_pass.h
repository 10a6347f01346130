#pragma once

#include <cstdint>
#include <vector>

#include "graph/run_queue.h"

// Carries the queued values through the circuit: takes components from
// Graph::q in order, marks each, and delivers its value along every wire to
// each neighbour not yet marked, from either end of the wire: a gate walked
// before the gate that feeds it writes into that gate's input. A delivery into a
// gate input may evaluate the gate and queue it with its result; a delivery into
// a lamp sets it.
//
// Gates fed twice by the level before them are queued once per delivery, which
// doubles at every level. A run, one block of entries queued many times in a row,
// is therefore walked only until a walk leaves what a walk of the block reads (the
// marks, bits and flags of every entry's neighbours) as it found it; the rest of
// the run would repeat that walk exactly, so its effects are added in one step.
// Why that is exact: docs/architecture.md, "Folding a run".
class PropagationPass {
  public:
    void run();

  private:
    struct Delivery {
        int from;
        int to;
        bool value;
    };

    // Walks the run's block `count` times or, once a walk changes nothing it reads,
    // fewer; queues what the walks queue. False when the work budget ran out.
    bool walkRun(Run run, const std::vector<QueueEntry>& block);
    // Walks every entry of the block once, collecting what it queues in
    // queuedByWalk. False when the work budget ran out: the queue is then dropped.
    bool walkBlock(const QueueEntry* block, std::size_t size);
    void trace(const Delivery& delivery);
    void traceRepeats(std::uint64_t walks);
    void finishTrace();

    void neighboursOf(const QueueEntry* block, std::size_t size, std::vector<int>& ids) const;
    void snapshot(const std::vector<int>& ids, std::vector<std::uint8_t>& state) const;

    // What the last block walk queued: queuedByWalk[0, queuedCount). Written through a
    // plain pointer, the store sized beforehand for the most a walk can queue.
    std::vector<QueueEntry> queuedByWalk;
    std::size_t queuedCount = 0;
    std::vector<Delivery> delivered;  // its deliveries, kept only while tracing
    std::vector<int> neighbours;      // of the run being walked, and their state
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
    std::uint64_t work = 0;  // walks and deliveries so far, against the budget
    std::uint64_t printed = 0;
    std::uint64_t unprinted = 0;
};
