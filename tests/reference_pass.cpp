#include "reference_pass.h"

#include <algorithm>
#include <iostream>
#include <queue>

#include "components/gate.h"
#include "components/input.h"
#include "components/output.h"
#include "graph/connections.h"
#include "graph/graph.h"

std::uint64_t referenceWalks = 0;
std::vector<std::uint32_t>* referenceWalkLog = nullptr;

void referenceSimulate() {
    referenceWalks = 0;
    std::queue<std::pair<int, bool>> q;
    for (const Input* button : Input::inputs) {
        q.push({button->getId(), button->state});
        if (vazi)
            std::cout << button->getId() << ' ' << button->state << std::endl;
    }
    if (vazi)
        Graph::debugGraph();
    std::fill(std::begin(visited), std::end(visited), false);
    for (Gate* gate : Gate::objects)
        gate->inputs = {false, false};
    while (!q.empty()) {
        auto [p, v] = q.front();
        q.pop();
        ++referenceWalks;
        if (referenceWalkLog)
            referenceWalkLog->push_back(static_cast<std::uint32_t>(p) << 1 | v);
        visited[p] = true;
        if (p > 20006)
            continue;
        for (const auto& [n, w] : graph[p]) {
            for (const Edge& wire : edgeList) {
                bool matches = wire.which == w && ((wire.left == p && wire.right == n) ||
                                                   (wire.left == n && wire.right == p));
                if (!matches || visited[n])
                    continue;
                wire.value = v;
                if (vazi)
                    std::cout << p << " <-> " << n << ", " << v << std::endl;
                if (w == 2) {
                    Output::outputs[n - 20007]->lit = v;
                    continue;
                }
                Gate* gate = Gate::objects[n];
                (w == 0 ? gate->hasA : gate->hasB) = true;
                gate->inputs[w] = v;
                if (Graph::workMode || (gate->hasA && gate->hasB)) {
                    q.push({n, gate->evaluate()});
                    gate->hasA = gate->hasB = false;
                }
            }
        }
    }
    vazi = false;
}
