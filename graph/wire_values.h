#pragma once

#include <cstdint>
#include <vector>

#include "graph/edge.h"

// The value of every wire, one byte each in the order of CompiledWiring's wire
// table. A pass writes its deliveries here rather than into the wire records,
// which lie scattered in the wire list, and then stores the values that changed.
class WireValues {
  public:
    // Takes the values the wire records hold now.
    void load(const std::vector<const Edge*>& wires);
    // Whether every record holds what the copy last took from it or wrote to it.
    bool agreesWithRecords(const std::vector<const Edge*>& wires) const;
    // Writes into the records every value that differs from what they hold.
    void storeChanged(const std::vector<const Edge*>& wires);

    std::uint8_t* data() { return values.data(); }

  private:
    std::vector<std::uint8_t> values;
    std::vector<std::uint8_t> stored;  // what the records hold
};
