#include "graph/run_queue.h"

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

void RunQueue::pushEach(const std::vector<QueueEntry>& entries) {
    for (const QueueEntry& entry : entries) {
        push(entry);
    }
}

void RunQueue::pushRepeated(const std::vector<QueueEntry>& block, std::uint64_t count) {
    if (block.empty() || count == 0) {
        return;
    }
    std::size_t period = primitivePeriod(block);
    std::uint64_t total = saturatingMul(count, block.size() / period);
    if (total == 1 && period > 1) {
        bool followsItself = !runs.empty() && runs.back().block == block;
        if (!followsItself && !foldTail(block)) {
            // A block queued once and not repeating what came before: its
            // entries go in one by one, where equal neighbours merge into runs.
            for (const QueueEntry& entry : block) {
                pushRun({entry}, 1);
            }
            return;
        }
    }
    pushRun(std::vector<QueueEntry>(block.begin(), block.begin() + period), total);
}

bool RunQueue::foldTail(const std::vector<QueueEntry>& block) {
    // When the queue ends with the entries of `block` one by one, each queued
    // once, they become one run of the block, which the copy being pushed joins.
    if (runs.size() < block.size()) {
        return false;
    }
    std::size_t first = runs.size() - block.size();
    for (std::size_t i = 0; i < block.size(); ++i) {
        const Run& run = runs[first + i];
        if (run.count != 1 || run.block.size() != 1 || run.block[0] != block[i]) {
            return false;
        }
    }
    runs.resize(first);
    pushRun(block, 1);
    return true;
}

void RunQueue::pushRun(std::vector<QueueEntry> block, std::uint64_t count) {
    // B^m followed by B^n is B^(m+n).
    if (!runs.empty() && runs.back().block == block) {
        runs.back().count = saturatingAdd(runs.back().count, count);
        return;
    }
    runs.push_back(Run{std::move(block), count});
}

Run RunQueue::popFront() {
    Run front = std::move(runs.front());
    runs.pop_front();
    return front;
}

std::vector<QueueEntry> RunQueue::expanded() const {
    std::vector<QueueEntry> out;
    for (const Run& run : runs) {
        for (std::uint64_t i = 0; i < run.count; ++i) {
            out.insert(out.end(), run.block.begin(), run.block.end());
        }
    }
    return out;
}
