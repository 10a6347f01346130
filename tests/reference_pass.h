#pragma once

#include <cstdint>

// The propagation pass exactly as first written: the whole wire list scanned for
// every adjacency entry, one queue entry per delivery. The fast pass must give
// the same results; this one is the yardstick.
void referenceSimulate();

// How many entries the last reference pass took from its queue: the walks the
// queue holds, which no faster pass can make fewer of without folding runs.
extern std::uint64_t referenceWalks;
