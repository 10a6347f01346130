#pragma once

#include <cstdint>
#include <vector>

#include "core/constants.h"
#include "graph/compiled_wiring.h"

// The adjacency entries of each component still worth reading in this pass. A
// neighbour once marked stays marked until the pass ends, so a walk drops the
// entries it finds marked from the component's list, keeping the others in
// order; a gate queued many times then reads only entries that can deliver.
class LiveAdjacency {
  public:
    // What a walk needs of one gate or button, small enough that the records of
    // a large circuit stay in the fastest cache.
    struct Range {
        std::uint32_t begin = 0;       // of the component's entries, in both tables
        std::uint16_t length = 0;      // of its whole list
        std::uint16_t keptLength = 0;  // of its kept entries; `untouched` before its first walk
    };
    // Above any list's length: a component's list holds its two inputs and at
    // most one entry per gate input pin and per lamp, about 30,000 at most.
    static constexpr std::uint16_t untouched = 0xFFFF;

    // Follows a rebuilt wiring table.
    void reset(const CompiledWiring& wiring);
    // Starts a pass over circuits of up to `gateSlots` registry slots and
    // `buttons` buttons: every list is whole again.
    void startPass(std::size_t gateSlots, std::size_t buttons);

    // The longest list: a walk of one component delivers at most this many times.
    std::size_t longest() const { return longestList; }

    // Lamps have no record: they are never walked.
    Range& range(int id) { return ranges[slotOf(id)]; }
    // The entries to read: the whole list at a component's first walk in the
    // pass, the kept ones after.
    const WireEnd* begin(const Range& r) const {
        return (r.keptLength == untouched ? whole : kept) + r.begin;
    }
    const WireEnd* end(const Range& r) const {
        return r.keptLength == untouched ? whole + r.begin + r.length
                                         : kept + r.begin + r.keptLength;
    }
    // Kept entries are written from here on; this never runs ahead of the
    // entry being read.
    WireEnd* keepFrom(const Range& r) { return kept + r.begin; }
    void setKeptEnd(Range& r, const WireEnd* keptEnd) {
        r.keptLength = static_cast<std::uint16_t>(keptEnd - (kept + r.begin));
    }

  private:
    // Gates take odd ids, so half of the ids below the buttons' are enough.
    static constexpr int buttonSlots = (maxGateId + 1) / 2;
    static int slotOf(int id) { return id < inOffset ? id >> 1 : buttonSlots + (id - inOffset); }

    std::vector<Range> ranges;
    std::vector<WireEnd> keptStore;
    const WireEnd* whole = nullptr;
    WireEnd* kept = nullptr;
    std::size_t longestList = 0;
};
