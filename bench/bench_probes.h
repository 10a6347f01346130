#pragma once

// Measuring aids: resident memory, a silenced standard output, and the bare
// breadth-first walk that is the floor for any propagation pass.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "graph/compiled_wiring.h"

// Restarts the resident-set high-water mark at the current size, where the
// kernel allows it; returns false when it does not (the mark then covers the
// whole process lifetime).
bool resetPeakMemory();
// The resident-set high-water mark and the current resident set, in MB (10^6 bytes).
double peakMemoryMB();
double residentMB();

// Points file descriptor 1 at /dev/null while alive: the draw pass writes a
// flushed trace line per live wire every frame, and those writes stay in the
// measured cost without flooding the report.
class StdoutSilenced {
  public:
    StdoutSilenced();
    ~StdoutSilenced();
    StdoutSilenced(const StdoutSilenced&) = delete;
    StdoutSilenced& operator=(const StdoutSilenced&) = delete;

  private:
    int saved;
};

// Runs one traced production pass with its trace sent to a scratch file and
// returns the deliveries it reports: every delivery of the walks the queue holds,
// most of which the queue's runs count rather than make.
std::uint64_t tracedDeliveries();

// Breadth-first from every button over the same flat adjacency the production
// pass walks: each component is queued once and each adjacency entry read once;
// lamps only receive, as in the real pass. No values, no gates evaluated.
class BareWalk {
  public:
    // Returns the number of components reached plus adjacency entries read.
    std::size_t run();
    // Components reached by the last run.
    std::size_t reached() const { return queue.size(); }

  private:
    CompiledWiring wiring;
    std::vector<unsigned> marks;  // marks[id] == pass: reached in this pass
    std::vector<int> queue;
    unsigned pass = 0;
};
