#include "graph/propagation_pass.h"

#include <iostream>

#include "components/gate.h"
#include "components/output.h"
#include "core/constants.h"
#include "graph/compiled_wiring.h"
#include "graph/connections.h"
#include "graph/graph.h"

namespace {

CompiledWiring wiring;

// Packs what a walk reads of a component: its mark, and for a gate its input
// bits and arrival flags.
std::uint8_t stateOf(int id) {
    std::uint8_t bits = visited[id] ? 1 : 0;
    if (id < inOffset) {
        const Gate* gate = Gate::objects[id];
        bits |= (gate->inputs[0] ? 2 : 0) | (gate->inputs[1] ? 4 : 0) | (gate->hasA ? 8 : 0) |
                (gate->hasB ? 16 : 0);
    }
    return bits;
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
    wiring.refresh();
    std::vector<QueueEntry> block;
    std::vector<int> neighbours;
    std::vector<std::uint8_t> before;
    std::vector<std::uint8_t> after;
    while (!Graph::q.empty()) {
        Run current = Graph::q.popFront(block);
        std::uint64_t remaining = current.count;
        if (remaining > 1) {
            neighboursOf(block, neighbours);
            snapshot(neighbours, before);
        }
        while (remaining > 0) {
            if (!walkBlock(block)) {
                warnBudgetOnce();
                Graph::q.clear();
                finishTrace();
                return;
            }
            --remaining;
            if (remaining == 0) {
                Graph::q.pushRepeated(pushes, 1);
                break;
            }
            snapshot(neighbours, after);
            if (after == before) {
                // A walk reads only the marks, input bits and arrival flags of
                // the block's neighbours, and writes nothing else that a walk
                // reads. This walk left them as it found them, so each remaining
                // walk of the run starts from the same state and makes the same
                // writes, queues the same entries and prints the same lines.
                Graph::q.pushRepeated(pushes, remaining + 1);
                traceRepeats(remaining);
                remaining = 0;
            } else {
                Graph::q.pushRepeated(pushes, 1);
                before.swap(after);
            }
        }
    }
    finishTrace();
}

bool PropagationPass::walkBlock(const std::vector<QueueEntry>& block) {
    pushes.clear();
    delivered.clear();
    for (const auto& [p, v] : block) {
        if (++work > passWorkBudget) {
            return false;
        }
        visited[p] = true;
        if (p >= outOffset) {
            continue;  // lamps only receive
        }
        // Adjacency order: ascending neighbour, then pin selector.
        for (const WireEnd* end = wiring.begin(p); end != wiring.end(p); ++end) {
            if (!visited[end->neighbour]) {
                ++work;
                deliver(p, end->neighbour, end->pin, *end->wire, v);
            }
        }
    }
    return true;
}

void PropagationPass::deliver(int from, int to, int pin, const Edge& wire, bool value) {
    wire.value = value;
    if (vazi) {
        delivered.push_back(Delivery{from, to, value});
        trace(delivered.back());
    }
    if (pin == pinLamp) {
        Output::outputs[to - outOffset]->lit = value;
        return;
    }
    Gate* gate = Gate::objects[to];
    (pin == pinA ? gate->hasA : gate->hasB) = true;
    gate->inputs[pin] = value;
    if (Graph::workMode || (gate->hasA && gate->hasB)) {
        pushes.push_back({to, gate->evaluate()});
        gate->hasA = false;
        gate->hasB = false;
    }
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

void PropagationPass::neighboursOf(const std::vector<QueueEntry>& block,
                                   std::vector<int>& ids) const {
    ids.clear();
    for (const auto& entry : block) {
        for (const WireEnd* end = wiring.begin(entry.first); end != wiring.end(entry.first);
             ++end) {
            ids.push_back(end->neighbour);
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
