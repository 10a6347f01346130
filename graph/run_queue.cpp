#include "graph/run_queue.h"

#include <algorithm>
#include <limits>

namespace {

// The length of the shortest block whose repetition makes up `entries`.
std::size_t primitivePeriod(const QueueEntry* entries, std::size_t n) {
    for (std::size_t period = 1; period <= n / 2; ++period) {
        // A repetition starts again with the first entry; most blocks fail here.
        if (entries[period] != entries[0] || n % period != 0) {
            continue;
        }
        bool repeats = true;
        for (std::size_t i = period; i < n && repeats; ++i) {
            repeats = entries[i] == entries[i - period];
        }
        if (repeats) {
            return period;
        }
    }
    return n;
}

}  // namespace

std::uint64_t saturatingMul(std::uint64_t a, std::uint64_t b) {
    std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    if (a <= UINT32_MAX && b <= UINT32_MAX) {
        return a * b;  // cannot overflow
    }
    return b != 0 && a > top / b ? top : a * b;
}

void RunQueue::clear() {
    head = 0;
    tail = 0;
    blockStore.clear();
}

bool RunQueue::mightFold(const QueueEntry* block, std::size_t size) const {
    // Repetitions within a block come from a gate fed twice on tied inputs, or
    // from repeated blocks of a few gates; wide fan-outs are not looked through.
    for (std::size_t i = 1; i <= size / 2 && i <= maxScannedPeriod; ++i) {
        if (block[i] == block[0]) {
            return true;  // may be a repetition of a shorter block
        }
    }
    std::size_t queued = tail - head;
    return (queued > 0 && runs[tail - 1].blockSize == size) ||
           (queued >= size && runs[tail - size].single() && runs[tail - size].entry() == block[0]);
}

void RunQueue::pushFolded(const QueueEntry* block, std::size_t size, std::uint64_t count) {
    std::size_t period = primitivePeriod(block, size);
    std::uint64_t total = period == size ? count : saturatingMul(count, size / period);
    if (total == 1 && period > 1 && !lastRunIs(block, period) &&
        !foldSinglesAtTail(block, period)) {
        for (const QueueEntry* entry = block; entry != block + size; ++entry) {
            pushSingle(*entry, 1);
        }
        return;
    }
    pushBlock(block, period, total);
}

bool RunQueue::lastRunIs(const QueueEntry* block, std::size_t size) const {
    if (empty() || runs[tail - 1].blockSize != size) {
        return false;
    }
    const Run& last = runs[tail - 1];
    return size == 1 ? last.entry() == block[0]
                     : std::equal(block, block + size, blockStore.begin() + last.blockOffset());
}

bool RunQueue::foldSinglesAtTail(const QueueEntry* block, std::size_t size) {
    // When the queue ends with the entries of `block` one by one, each queued
    // once, they become one run of the block, which the copy being pushed joins.
    if (tail - head < size) {
        return false;
    }
    std::size_t first = tail - size;
    for (std::size_t i = 0; i < size; ++i) {
        const Run& run = runs[first + i];
        if (run.count != 1 || !run.single() || run.entry() != block[i]) {
            return false;
        }
    }
    tail = first;
    pushBlock(block, size, 1);
    return true;
}

void RunQueue::pushBlock(const QueueEntry* block, std::size_t size, std::uint64_t count) {
    // B^m followed by B^n is B^(m+n).
    if (lastRunIs(block, size)) {
        runs[tail - 1].count = saturatingAdd(runs[tail - 1].count, count);
        return;
    }
    std::uint32_t entryOrOffset = block[0];
    if (size > 1) {
        entryOrOffset = static_cast<std::uint32_t>(blockStore.size());
        blockStore.insert(blockStore.end(), block, block + size);
    }
    append(Run(entryOrOffset, static_cast<std::uint32_t>(size), count));
}

Run RunQueue::popFront(std::vector<QueueEntry>& block) {
    Run taken = front();
    if (!taken.single()) {
        auto start = blockStore.begin() + taken.blockOffset();
        block.assign(start, start + taken.blockSize);
    }
    dropFront();
    return taken;
}

void RunQueue::dropTaken() {
    // Keeps the memory of a long pass in proportion to what is still queued;
    // each run is moved at most once per halving, so pops stay cheap.
    std::copy(runs + head, runs + tail, runs);
    tail -= head;
    head = 0;
}

void RunQueue::grow() {
    store.resize(capacity == 0 ? 1024 : capacity * 2);
    runs = store.data();
    capacity = store.size();
}
