#pragma once

#include <cstdint>
#include <vector>

// The input bits and arrival flags of every gate, one byte per id next to the gate's
// truth table, so that a pass reads and writes them in one flat array instead of
// reaching into the gate objects. The objects stay the record: the copy is loaded from
// them, and a pass writes back the gates whose bits it changed. Code that writes those
// fields outside a pass calls circuitEdited(), which makes the next pass load afresh.
class GateStates {
  public:
    // A gate's byte: its input bits, its arrival flags and its truth table.
    static constexpr unsigned inputA = 1;
    static constexpr unsigned inputB = 2;
    static constexpr unsigned arrivedA = 4;
    static constexpr unsigned arrivedB = 8;
    static constexpr unsigned stateBits = 15;
    static constexpr unsigned truthShift = 4;  // bit 4 + (A + 2B) holds the output for A, B

    // A value arrives at input `pin` (0 A, 1 B): sets its bit and its arrival flag.
    static unsigned arrive(unsigned bits, unsigned pin, bool value) {
        return (bits & ~(inputA << pin)) | (static_cast<unsigned>(value) << pin) |
               (arrivedA << pin);
    }
    static bool bothArrived(unsigned bits) {
        return (bits & (arrivedA | arrivedB)) == (arrivedA | arrivedB);
    }
    static unsigned clearArrivals(unsigned bits) { return bits & ~(arrivedA | arrivedB); }
    // The gate's output for its input bits, looked up in its truth table.
    static bool output(unsigned bits) {
        return ((bits >> (truthShift + (bits & (inputA | inputB)))) & 1) != 0;
    }

    // Loads the copy when gates were added or the circuit was edited.
    void refresh();
    // Sets both input bits of every gate to 0; the arrival flags stay.
    void clearInputs();
    // Writes the bits of every gate whose bits differ from its object's.
    void storeChanged();
    // Whether every gate object holds what the copy last took from it or wrote to it.
    bool agreesWithObjects() const;

    std::uint8_t* data() { return bits.data(); }
    // The state bits of a gate; 0 for ids that are not gates.
    std::uint8_t stateOf(int id) const { return bits[id] & stateBits; }

  private:
    void load();

    bool loaded = false;
    unsigned loadedVersion = 0;        // circuitVersion() when loaded
    std::vector<std::uint8_t> bits;    // per gate id: state bits, truth table above
    std::vector<std::uint8_t> stored;  // per gate id: `bits` as its object holds them
};
