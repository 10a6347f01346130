#include "graph/live_adjacency.h"

#include <algorithm>

void LiveAdjacency::reset(const CompiledWiring& wiring) {
    ranges.assign(buttonSlots + (outOffset - inOffset), Range{});
    longestList = 0;
    for (int id = 0; id < outOffset; ++id) {
        if (id < inOffset && id % 2 == 0) {
            continue;  // even slots are no one's id
        }
        Range& r = range(id);
        r.begin = wiring.offset(id);
        r.fullLength = static_cast<std::uint16_t>(wiring.offset(id + 1) - wiring.offset(id));
        r.liveLength = notWalkedYet;
        longestList = std::max<std::size_t>(longestList, r.fullLength);
    }
    liveListStore.assign(wiring.offset(MAX_G), WireEnd{0, 0});
    fullLists = wiring.begin(0);
    liveLists = liveListStore.data();
}

void LiveAdjacency::startPass(std::size_t gateSlots, std::size_t buttons) {
    std::size_t gateRecords = std::min<std::size_t>((gateSlots + 1) / 2, buttonSlots);
    for (std::size_t slot = 0; slot < gateRecords; ++slot) {
        ranges[slot].liveLength = notWalkedYet;
    }
    for (std::size_t i = 0; i < buttons && buttonSlots + i < ranges.size(); ++i) {
        ranges[buttonSlots + i].liveLength = notWalkedYet;
    }
}
