#pragma once

#include <cstdint>
#include <vector>

// The input bits and arrival flags of every gate, one byte per id next to the
// gate's truth table, so that a pass reads and writes them in one flat array
// instead of reaching into the gate objects. The objects stay the record: the
// copy is loaded from them, and a pass writes back the gates whose bits it
// changed. Only passes write these fields, so between passes the copy and the
// objects agree; code that writes them anywhere else must bump wiringVersion,
// which makes the next pass load them afresh.
class GateStates {
  public:
    static constexpr std::uint8_t inputA = 1;
    static constexpr std::uint8_t inputB = 2;
    static constexpr std::uint8_t arrivedA = 4;
    static constexpr std::uint8_t arrivedB = 8;
    static constexpr std::uint8_t stateBits = 15;
    static constexpr int truthShift = 4;  // bit 4 + (A + 2B) holds the output for A, B

    // Loads the copy when gates were added or the wiring version changed.
    void refresh();
    // Sets both input bits of every gate to 0; the arrival flags stay.
    void clearInputs();
    // Writes the bits of every gate whose bits differ from its object's.
    void storeChanged();

    std::uint8_t* data() { return bits.data(); }
    // The state bits of a gate; 0 for ids that are not gates.
    std::uint8_t stateOf(int id) const { return bits[id] & stateBits; }

  private:
    void load();

    bool loaded = false;
    unsigned loadedVersion = 0;
    std::vector<std::uint8_t> bits;    // per gate id: state bits, truth table above
    std::vector<std::uint8_t> stored;  // per gate id: `bits` as its object holds them
};
