#pragma once

#include <cstdint>
#include <vector>

#include "core/constants.h"
#include "graph/compiled_wiring.h"

// The adjacency entries of each component still worth reading in this pass. A
// neighbour once marked stays marked until the pass ends, so a walk drops the
// entries it finds marked from the component's list, keeping the others in order;
// a gate queued many times then reads only entries that can deliver.
//
// Two tables: the full lists, every entry of every component (CompiledWiring's), and
// the live lists, where a component's walk writes the entries it keeps. A component
// reads its full list at its first walk in a pass and its live list after that.
class LiveAdjacency {
  public:
    // What a walk needs of one gate or button, small enough that the records of
    // a large circuit stay in the fastest cache.
    struct Range {
        std::uint32_t begin = 0;  // of the component's list, in both tables
        std::uint16_t fullLength = 0;
        std::uint16_t liveLength = 0;  // notWalkedYet before its first walk in a pass
    };
    static constexpr std::uint16_t notWalkedYet = 0xFFFF;

    // The longest list there can be, a gate's: both of its inputs fed from every gate and
    // every button, its output feeding both inputs of every gate and every lamp. (The
    // wire toggle keeps at most one wire between two gates on one pin, in either
    // direction, so the gate-to-gate part is at most half of that.) It must stay below
    // the sentinel, which no list length can then reach.
    static constexpr std::size_t longestPossibleList =
        2 * (gateIdCount + inputIdCount) + 2 * gateIdCount + outputIdCount;
    static_assert(longestPossibleList < notWalkedYet, "a list length must fit in 16 bits");

    // Follows a rebuilt wiring table.
    void reset(const CompiledWiring& wiring);
    // Starts a pass over circuits of up to `gateSlots` registry slots and `buttons`
    // buttons: every component reads its full list again.
    void startPass(std::size_t gateSlots, std::size_t buttons);

    // The longest list: a walk of one component delivers at most this many times.
    std::size_t longest() const { return longestList; }

    // Lamps have no record: they are never walked.
    Range& range(int id) { return ranges[slotOf(id)]; }
    // The entries to read: the full list at a component's first walk in the pass,
    // the live list after.
    const WireEnd* begin(const Range& r) const {
        return (r.liveLength == notWalkedYet ? fullLists : liveLists) + r.begin;
    }
    const WireEnd* end(const Range& r) const {
        return r.liveLength == notWalkedYet ? fullLists + r.begin + r.fullLength
                                            : liveLists + r.begin + r.liveLength;
    }
    // Where a walk writes the entries it keeps. The writing never runs ahead of the
    // entry being read, so a live list can be rewritten in place.
    WireEnd* liveList(const Range& r) { return liveLists + r.begin; }
    void setLiveEnd(Range& r, const WireEnd* liveEnd) {
        r.liveLength = static_cast<std::uint16_t>(liveEnd - (liveLists + r.begin));
    }

  private:
    // Gates take odd ids, so half of the ids below the buttons' are enough.
    static constexpr int buttonSlots = (maxGateId + 1) / 2;
    static int slotOf(int id) { return id < inOffset ? id >> 1 : buttonSlots + (id - inOffset); }

    std::vector<Range> ranges;
    std::vector<WireEnd> liveListStore;
    const WireEnd* fullLists = nullptr;
    WireEnd* liveLists = nullptr;
    std::size_t longestList = 0;
};
