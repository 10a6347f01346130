#include "app/startup_circuit.h"

#include <iostream>

void printGateListing() {
    std::cout << Gate::getObjects().size() << std::endl;
    for (const Gate* gate : Gate::getObjects()) {
        std::cout << gate->getId() << std::endl;
    }
}
