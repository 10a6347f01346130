#pragma once

#include <cstdint>
#include <vector>

// A queue entry: a component and the value it drives, packed as id * 2 + value
// so that the queue and the blocks a walk reads stay small.
using QueueEntry = std::uint32_t;

inline QueueEntry queueEntry(int id, bool value) {
    return static_cast<QueueEntry>(id) << 1 | (value ? 1 : 0);
}
inline int entryId(QueueEntry entry) {
    return static_cast<int>(entry >> 1);
}
inline bool entryValue(QueueEntry entry) {
    return (entry & 1) != 0;
}

// Counts that stand for more walks than could ever be made stop growing at the top.
inline std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return a > UINT64_MAX - b ? UINT64_MAX : a + b;
}
std::uint64_t saturatingMul(std::uint64_t a, std::uint64_t b);

// A block of entries standing `count` times in a row in the queue. A block of one
// entry is held in the run itself; a longer block lives in the queue's block store.
// One field serves both, which keeps a run at 16 bytes: `entryOrOffset` is the entry
// when `blockSize` is 1, else where the block starts in the store.
struct Run {
    // Built in place: a run assembled elsewhere and copied in is stored field by
    // field and loaded whole, which stalls the store-to-load forwarding.
    Run() = default;
    Run(std::uint32_t entryOrOffset, std::uint32_t blockSize, std::uint64_t count)
        : entryOrOffset(entryOrOffset), blockSize(blockSize), count(count) {}

    bool single() const { return blockSize == 1; }
    QueueEntry entry() const { return entryOrOffset; }           // of a single run
    std::uint32_t blockOffset() const { return entryOrOffset; }  // of any other

    std::uint32_t entryOrOffset;
    std::uint32_t blockSize;
    std::uint64_t count;
};

// The propagation queue, first in first out, holding repeated entries as counted
// runs. A circuit whose gates are fed twice by the level before them queues
// 2^depth copies of the same entries; a run keeps them as one.
//
// Pushing a block `count` times, in order: a block of one entry joins the last run
// when that is the same entry, else starts a run. A longer block queued once that can
// neither repeat nor meet a run (mightFold) goes in entry by entry: the common case.
// Otherwise the block is cut to its shortest repeating part (primitivePeriod); that part
// joins the last run when it is the same block (lastRunIs), or gathers the same entries
// queued one by one just before it into one run (foldSinglesAtTail), or else starts a
// run of its own, unless it stands only once, when it goes in entry by entry after all.
class RunQueue {
  public:
    bool empty() const { return head == tail; }
    void clear();

    // One entry, once.
    void push(QueueEntry entry) { pushSingle(entry, 1); }
    // The whole block `count` times. A block that is itself a repetition of a
    // shorter one is stored as that shorter one, so runs of it merge; a block
    // queued once that does not repeat what came before goes in entry by entry.
    void pushRepeated(const QueueEntry* block, std::size_t size, std::uint64_t count) {
        if (size == 1) {
            pushSingle(block[0], count);
        } else if (size == 0 || count == 0) {
            return;
        } else if (count == 1 && !mightFold(block, size)) {
            for (const QueueEntry* entry = block; entry != block + size; ++entry) {
                pushSingle(*entry, 1);
            }
        } else {
            pushFolded(block, size, count);
        }
    }

    // The front run stays valid until the next push or pop.
    const Run& front() const { return runs[head]; }
    void dropFront() {
        if (++head == tail) {
            clear();
        } else if (head >= compactAfter && head * 2 >= tail) {
            dropTaken();
        }
    }
    // Takes the front run off. A block longer than one entry is copied into
    // `block`, since pushes may move the store; a single entry stays in the run.
    Run popFront(std::vector<QueueEntry>& block);

  private:
    // Taken runs are dropped from the front once they are this many and at least
    // half of the store: rarely enough to cost nothing, often enough that a
    // long pass holds memory in proportion to what is still queued.
    static constexpr std::size_t compactAfter = 1 << 16;
    static constexpr std::size_t maxScannedPeriod = 8;

    void pushSingle(QueueEntry entry, std::uint64_t count) {
        if (!empty() && runs[tail - 1].single() && runs[tail - 1].entry() == entry) {
            runs[tail - 1].count = saturatingAdd(runs[tail - 1].count, count);
        } else {
            append(Run(entry, 1, count));
        }
    }
    void append(const Run& run) {
        if (tail == capacity) {
            grow();
        }
        runs[tail++] = run;
    }
    void grow();
    // False when the block, queued once, can only go in entry by entry: it does
    // not repeat within itself and cannot join or fold the runs at the tail.
    bool mightFold(const QueueEntry* block, std::size_t size) const;
    void pushFolded(const QueueEntry* block, std::size_t size, std::uint64_t count);
    bool lastRunIs(const QueueEntry* block, std::size_t size) const;
    bool foldSinglesAtTail(const QueueEntry* block, std::size_t size);
    void pushBlock(const QueueEntry* block, std::size_t size, std::uint64_t count);
    void dropTaken();

    // Runs [head, tail) of the store are queued, runs[head] in front. Plain
    // indices into storage of its own keep the busiest path of a pass short.
    std::vector<Run> store;
    Run* runs = nullptr;
    std::size_t capacity = 0;
    std::size_t head = 0;
    std::size_t tail = 0;
    std::vector<QueueEntry> blockStore;  // emptied whenever the queue runs empty
};
