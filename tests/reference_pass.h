#pragma once

#include <cstdint>
#include <vector>

// The propagation pass exactly as first written: the whole wire list scanned for
// every adjacency entry, one queue entry per delivery. The fast pass must give
// the same results; this one is the yardstick.
void referenceSimulate();

// The entries the last reference pass took from its queue: the walks a faster pass
// cannot make fewer of without folding runs.
extern std::uint64_t referenceWalks;

// When set, every walk of a reference pass appends its entry (id * 2 + value) here.
extern std::vector<std::uint32_t>* referenceWalkLog;
