#include "graph/propagation_pass.h"

#include <cstdlib>
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

// Whatever is left queued is dropped: the pass ends with the lamps, wires and gates as
// far as it got. Said once per process. Kept out of line: the walk's loop stays small.
[[gnu::cold, gnu::noinline]] void dropQueueOverBudget() {
    Graph::q.clear();
    static bool warned = false;
    if (!warned) {
        warned = true;
        std::cerr << "velkora: a propagation pass was cut short after " << passWorkBudget
                  << " steps; the circuit multiplies its signals too fast" << std::endl;
    }
}

}  // namespace

// Inline in run(): a deep circuit's pass is mostly short runs, where a call shows.
inline bool PropagationPass::walkRun(Run run, const std::vector<QueueEntry>& block) {
    const QueueEntry single = run.entry();
    const QueueEntry* entries = run.single() ? &single : block.data();
    if (run.count > 1) {
        neighboursOf(entries, run.blockSize, neighbours);
        snapshot(neighbours, before);
    }
    for (std::uint64_t remaining = run.count; remaining > 0; --remaining) {
        if (!walkBlock(entries, run.blockSize)) {
            return false;
        }
        if (remaining > 1) {
            snapshot(neighbours, after);
            if (after == before) {
                // This walk left everything a walk of the block reads as it found it,
                // so each of the remaining walks would make the same writes, queue the
                // same entries and print the same lines: they are counted, not made.
                Graph::q.pushRepeated(queuedByWalk.data(), queuedCount, remaining);
                traceRepeats(remaining - 1);
                return true;
            }
            before.swap(after);
        }
        Graph::q.pushRepeated(queuedByWalk.data(), queuedCount, 1);
    }
    return true;
}

void PropagationPass::run() {
    if (wiring.refresh()) {
        wireValues.load(wiring.wires());
        live.reset(wiring);
    }
    live.startPass(Gate::objects.size(), Input::inputs.size());
    gates.refresh();
#ifdef VELKORA_CHECKED
    if (!gates.agreesWithObjects() || !wireValues.agreesWithRecords(wiring.wires())) {
        std::cerr << "velkora: gate bits or wire values were written outside a pass "
                     "without circuitEdited()"
                  << std::endl;
        std::abort();
    }
#endif
    gates.clearInputs();
    std::vector<QueueEntry> block;
    while (!Graph::q.empty()) {
        const Run& front = Graph::q.front();
        if (front.count == 1 && front.single()) {
            // Most entries stand alone: walked once, with no state to compare.
            const QueueEntry entry = front.entry();
            Graph::q.dropFront();
            if (!walkBlock(&entry, 1)) {
                break;
            }
            Graph::q.pushRepeated(queuedByWalk.data(), queuedCount, 1);
        } else if (!walkRun(Graph::q.popFront(block), block)) {
            break;
        }
    }
    gates.storeChanged();
    wireValues.storeChanged(wiring.wires());
    finishTrace();
}

bool PropagationPass::walkBlock(const QueueEntry* block, std::size_t size) {
    // A walk of one component queues at most one entry per entry of its list.
    std::size_t most = live.longest();
    if (size > 1) {
        most = 0;
        for (const QueueEntry* entry = block; entry != block + size; ++entry) {
            most += entryId(*entry) < outOffset ? live.range(entryId(*entry)).fullLength : 0;
        }
    }
    if (queuedByWalk.size() < most) {
        queuedByWalk.resize(most);
    }
    QueueEntry* nextQueued = queuedByWalk.data();
    delivered.clear();
    std::uint8_t* gateBits = gates.data();
    std::uint8_t* values = wireValues.data();
    const bool everyArrival = Graph::workMode;
    const bool tracing = vazi;
    std::uint64_t steps = work;  // a local copy keeps the count in a register
    for (const QueueEntry* entry = block; entry != block + size; ++entry) {
        const int walked = entryId(*entry);
        const bool value = entryValue(*entry);
        if (++steps > passWorkBudget) {
            work = steps;
            queuedCount = 0;
            dropQueueOverBudget();
            return false;
        }
        visited[walked] = true;
        if (walked >= outOffset) {
            continue;  // lamps only receive
        }
        // Adjacency order: ascending neighbour, then pin selector.
        LiveAdjacency::Range& range = live.range(walked);
        WireEnd* liveEnd = live.liveList(range);
        const WireEnd* listEnd = live.end(range);
        for (const WireEnd* end = live.begin(range); end != listEnd; ++end) {
            const int neighbour = end->neighbour();
            if (visited[neighbour]) {
                continue;  // marked for the rest of the pass: not kept
            }
            *liveEnd++ = *end;
            ++steps;
            values[end->wire] = value;
            if (tracing) {
                delivered.push_back(Delivery{walked, neighbour, value});
                trace(delivered.back());
            }
            const unsigned pin = static_cast<unsigned>(end->pin());
            if (pin == pinLamp) {
                Output::outputs[neighbour - outOffset]->lit = value;
                continue;
            }
            unsigned bits = GateStates::arrive(gateBits[neighbour], pin, value);
            if (everyArrival || GateStates::bothArrived(bits)) {
                *nextQueued++ = queueEntry(neighbour, GateStates::output(bits));
                bits = GateStates::clearArrivals(bits);
            }
            gateBits[neighbour] = static_cast<std::uint8_t>(bits);
        }
        live.setLiveEnd(range, liveEnd);
    }
    work = steps;
    queuedCount = static_cast<std::size_t>(nextQueued - queuedByWalk.data());
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
