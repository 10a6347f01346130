#include "graph/propagation_pass.h"

#include <iostream>

#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "core/constants.h"
#include "graph/compiled_wiring.h"
#include "graph/connections.h"
#include "graph/gate_states.h"
#include "graph/graph.h"
#include "graph/live_adjacency.h"
#include "graph/wire_values.h"

namespace {

CompiledWiring wiring;
GateStates gates;
WireValues wireValues;
LiveAdjacency live;

// Packs what a walk reads of a component: its mark, and for a gate its input
// bits and arrival flags.
std::uint8_t stateOf(int id) {
    std::uint8_t mark = visited[id] ? 1 : 0;
    return id < inOffset ? static_cast<std::uint8_t>(mark | gates.stateOf(id) << 1) : mark;
}

void warnBudgetOnce() {
    static bool warned = false;
    if (!warned) {
        warned = true;
        std::cerr << "velkora: a propagation pass was cut short after " << passWorkBudget
                  << " steps; the circuit multiplies its signals too fast" << std::endl;
    }
}

}  // namespace

void PropagationPass::run() {
    if (wiring.refresh()) {
        wireValues.load(wiring.wires());
        live.reset(wiring);
    }
    live.startPass(Gate::objects.size(), Input::inputs.size());
    gates.refresh();
    gates.clearInputs();
    walkQueue();
    gates.storeChanged();
    wireValues.storeChanged(wiring.wires());
    finishTrace();
}

void PropagationPass::walkQueue() {
    std::vector<QueueEntry> block;
    std::vector<int> neighbours;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
    while (!Graph::q.empty()) {
        const Run& front = Graph::q.front();
        if (front.count == 1 && front.blockSize == 1) {
            // Most entries stand alone: walked once, with no state to compare.
            const QueueEntry entry = front.first;
            Graph::q.dropFront();
            if (!walkBlock(&entry, 1)) {
                warnBudgetOnce();
                Graph::q.clear();
                return;
            }
            Graph::q.pushRepeated(pushes.data(), pushed, 1);
            continue;
        }
        Run current = Graph::q.popFront(block);
        const QueueEntry* entries = current.blockSize == 1 ? &current.first : block.data();
        std::size_t size = current.blockSize;
        std::uint64_t remaining = current.count;
        if (remaining > 1) {
            neighboursOf(entries, size, neighbours);
            snapshot(neighbours, before);
        }
        while (remaining > 0) {
            if (!walkBlock(entries, size)) {
                warnBudgetOnce();
                Graph::q.clear();
                return;
            }
            --remaining;
            if (remaining == 0) {
                Graph::q.pushRepeated(pushes.data(), pushed, 1);
                break;
            }
            snapshot(neighbours, after);
            if (after == before) {
                // A walk reads only the marks, input bits and arrival flags of
                // the block's neighbours, and writes nothing else that a walk
                // reads (the kept lists it shortens only lose entries whose
                // neighbour is marked, which it would skip anyway). This walk
                // left them as it found them, so each remaining walk of the run
                // starts from the same state and makes the same writes, queues
                // the same entries and prints the same lines.
                Graph::q.pushRepeated(pushes.data(), pushed, remaining + 1);
                traceRepeats(remaining);
                remaining = 0;
            } else {
                Graph::q.pushRepeated(pushes.data(), pushed, 1);
                before.swap(after);
            }
        }
    }
}

bool PropagationPass::walkBlock(const QueueEntry* block, std::size_t size) {
    // A walk of one component queues at most one entry per entry of its list.
    std::size_t most = live.longest();
    if (size > 1) {
        most = 0;
        for (const QueueEntry* entry = block; entry != block + size; ++entry) {
            most += entryId(*entry) < outOffset ? live.range(entryId(*entry)).length : 0;
        }
    }
    if (pushes.size() < most) {
        pushes.resize(most);
    }
    QueueEntry* push = pushes.data();
    delivered.clear();
    std::uint8_t* gateBits = gates.data();
    std::uint8_t* values = wireValues.data();
    const bool everyArrival = Graph::workMode;
    const bool tracing = vazi;
    std::uint64_t steps = work;
    for (const QueueEntry* entry = block; entry != block + size; ++entry) {
        const int p = entryId(*entry);
        const bool v = entryValue(*entry);
        if (++steps > passWorkBudget) {
            work = steps;
            pushed = 0;
            return false;
        }
        visited[p] = true;
        if (p >= outOffset) {
            continue;  // lamps only receive
        }
        // Adjacency order: ascending neighbour, then pin selector.
        LiveAdjacency::Range& range = live.range(p);
        WireEnd* keep = live.keepFrom(range);
        const WireEnd* last = live.end(range);
        for (const WireEnd* end = live.begin(range); end != last; ++end) {
            const int n = end->neighbour();
            if (visited[n]) {
                continue;
            }
            *keep++ = *end;
            ++steps;
            values[end->wire] = v;
            if (tracing) {
                delivered.push_back(Delivery{p, n, v});
                trace(delivered.back());
            }
            const unsigned pin = static_cast<unsigned>(end->pin());
            if (pin == pinLamp) {
                Output::outputs[n - outOffset]->lit = v;
                continue;
            }
            // Sets the pin's input bit and arrival flag; evaluates from the truth table.
            unsigned state = (gateBits[n] & ~(GateStates::inputA << pin)) |
                             (static_cast<unsigned>(v) << pin) | (GateStates::arrivedA << pin);
            const unsigned both = GateStates::arrivedA | GateStates::arrivedB;
            if (everyArrival || (state & both) == both) {
                bool result = (state >> (GateStates::truthShift + (state & 3)) & 1) != 0;
                *push++ = queueEntry(n, result);
                state &= ~both;
            }
            gateBits[n] = static_cast<std::uint8_t>(state);
        }
        live.setKeptEnd(range, keep);
    }
    work = steps;
    pushed = static_cast<std::size_t>(push - pushes.data());
    return true;
}

void PropagationPass::trace(const Delivery& d) {
    if (printed < traceDeliveryLimit) {
        ++printed;
        std::cout << d.from << " <-> " << d.to << ", " << d.value << std::endl;
    } else {
        unprinted = saturatingAdd(unprinted, 1);
    }
}

void PropagationPass::traceRepeats(std::uint64_t walks) {
    if (delivered.empty()) {
        return;  // not tracing, or the walk delivered nothing
    }
    // The repeated walks print the current walk's lines again, walk after walk.
    for (; walks > 0 && printed < traceDeliveryLimit; --walks) {
        for (const Delivery& d : delivered) {
            trace(d);
        }
    }
    unprinted = saturatingAdd(unprinted, saturatingMul(walks, delivered.size()));
}

void PropagationPass::finishTrace() {
    if (vazi && unprinted > 0) {
        std::cout << unprinted << " more deliveries not printed" << std::endl;
    }
}

void PropagationPass::neighboursOf(const QueueEntry* block, std::size_t size,
                                   std::vector<int>& ids) const {
    ids.clear();
    for (const QueueEntry* entry = block; entry != block + size; ++entry) {
        int id = entryId(*entry);
        for (const WireEnd* end = wiring.begin(id); end != wiring.end(id); ++end) {
            ids.push_back(end->neighbour());
        }
    }
}

void PropagationPass::snapshot(const std::vector<int>& ids,
                               std::vector<std::uint8_t>& state) const {
    state.clear();
    for (int id : ids) {
        state.push_back(stateOf(id));
    }
}
