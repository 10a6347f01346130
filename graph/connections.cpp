#include "graph/connections.h"

#include <iostream>

#include "app/app_state.h"
#include "graph/circuit_edits.h"
#include "graph/wire_ends.h"

std::multiset<std::pair<int, int>> graph[MAX_G];
std::multiset<Edge> edgeList;

namespace {

bool joins(const Edge& wire, int a, int b, int pin) {
    return wire.which == pin &&
           ((wire.left == a && wire.right == b) || (wire.left == b && wire.right == a));
}

void eraseOne(std::multiset<std::pair<int, int>>& entries, std::pair<int, int> entry) {
    auto it = entries.find(entry);
    if (it != entries.end()) {
        entries.erase(it);
    }
}

}  // namespace

void printWireList() {
    for (const Edge& wire : edgeList) {
        std::cout << wire.left << ' ' << wire.right << ' ' << std::endl;
    }
    std::cout << std::endl;
}

void toggleWire() {
    std::cout << "uso 0" << std::endl;
    circuitEdited();

    for (auto it = edgeList.begin(); it != edgeList.end(); ++it) {
        if (joins(*it, leftNode, rightNode, which)) {
            Edge wire = *it;
            edgeList.erase(it);
            eraseOne(graph[wire.left], {wire.right, wire.which});
            eraseOne(graph[wire.right], {wire.left, wire.which});
            return;
        }
    }

    std::cout << "uso 2" << std::endl;
    graph[leftNode].insert({rightNode, which});
    graph[rightNode].insert({leftNode, which});
    if (rType == kindInput) {
        std::cout << "uso 3" << std::endl;
    }
    SDL_Point to = destinationEnd(leftNode, which);
    SDL_Point from = sourceEnd(rightNode);
    edgeList.insert(Edge(leftNode, rightNode, to.x, to.y, from.x, from.y, which));
    if (rType == kindGate && which != pinLamp) {
        printWireList();
    }
}
