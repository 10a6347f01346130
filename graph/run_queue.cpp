#include "graph/run_queue.h"

#include <algorithm>
#include <limits>

namespace {

// The length of the shortest block whose repetition makes up `entries`.
std::size_t primitivePeriod(const std::vector<QueueEntry>& entries) {
    std::size_t n = entries.size();
    for (std::size_t period = 1; period < n; ++period) {
        if (n % period != 0) {
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

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    return a > top - b ? top : a + b;
}

std::uint64_t saturatingMul(std::uint64_t a, std::uint64_t b) {
    std::uint64_t top = std::numeric_limits<std::uint64_t>::max();
    return b != 0 && a > top / b ? top : a * b;
}

void RunQueue::clear() {
    runs.clear();
    blockStore.clear();
}

void RunQueue::push(QueueEntry entry) {
    pushBlock(&entry, 1, 1);
}

void RunQueue::pushRepeated(const std::vector<QueueEntry>& block, std::uint64_t count) {
    if (block.empty() || count == 0) {
        return;
    }
    std::size_t period = primitivePeriod(block);
    std::uint64_t total = saturatingMul(count, block.size() / period);
    if (total == 1 && period > 1 && !tailIs(block.data(), period) &&
        !foldTail(block.data(), period)) {
        for (const QueueEntry& entry : block) {
            push(entry);
        }
        return;
    }
    pushBlock(block.data(), period, total);
}

bool RunQueue::tailIs(const QueueEntry* block, std::size_t size) const {
    if (runs.empty() || runs.back().blockSize != size) {
        return false;
    }
    const Run& tail = runs.back();
    return size == 1 ? tail.single == block[0]
                     : std::equal(block, block + size, blockStore.begin() + tail.blockStart);
}

bool RunQueue::foldTail(const QueueEntry* block, std::size_t size) {
    // When the queue ends with the entries of `block` one by one, each queued
    // once, they become one run of the block, which the copy being pushed joins.
    if (runs.size() < size) {
        return false;
    }
    std::size_t first = runs.size() - size;
    for (std::size_t i = 0; i < size; ++i) {
        const Run& run = runs[first + i];
        if (run.count != 1 || run.blockSize != 1 || run.single != block[i]) {
            return false;
        }
    }
    runs.resize(first);
    pushBlock(block, size, 1);
    return true;
}

void RunQueue::pushBlock(const QueueEntry* block, std::size_t size, std::uint64_t count) {
    // B^m followed by B^n is B^(m+n).
    if (tailIs(block, size)) {
        runs.back().count = saturatingAdd(runs.back().count, count);
        return;
    }
    Run run{block[0], 0, static_cast<std::uint32_t>(size), count};
    if (size > 1) {
        run.blockStart = static_cast<std::uint32_t>(blockStore.size());
        blockStore.insert(blockStore.end(), block, block + size);
    }
    runs.push_back(run);
}

Run RunQueue::popFront(std::vector<QueueEntry>& block) {
    Run front = runs.front();
    runs.pop_front();
    if (front.blockSize == 1) {
        block.assign(1, front.single);
    } else {
        auto first = blockStore.begin() + front.blockStart;
        block.assign(first, first + front.blockSize);
    }
    if (runs.empty()) {
        blockStore.clear();
    }
    return front;
}
