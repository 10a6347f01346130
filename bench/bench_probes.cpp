#include "bench_probes.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <string>

#include "components/input.h"
#include "core/constants.h"
#include "graph/graph.h"

namespace {

// A "Name:   1234 kB" field of /proc/self/status (kB meaning KiB), in MB; -1 when unreadable.
double statusFieldMB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string key;
    double kib = 0;
    while (status >> key) {
        if (key == field + ":" && status >> kib) {
            return kib * 1024.0 / 1e6;
        }
        status.ignore(1 << 12, '\n');
    }
    return -1;
}

}  // namespace

bool resetPeakMemory() {
    std::ofstream clearRefs("/proc/self/clear_refs");
    clearRefs << "5" << std::endl;  // 5: reset the peak resident set size
    return static_cast<bool>(clearRefs);
}

double peakMemoryMB() {
    double peak = statusFieldMB("VmHWM");
    if (peak >= 0) {
        return peak;
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss * 1024.0 / 1e6;  // KiB on Linux
}

double residentMB() {
    return statusFieldMB("VmRSS");
}

StdoutSilenced::StdoutSilenced() {
    std::cout.flush();
    std::fflush(stdout);
    saved = dup(STDOUT_FILENO);
    int devNull = open("/dev/null", O_WRONLY);
    dup2(devNull, STDOUT_FILENO);
    close(devNull);
}

StdoutSilenced::~StdoutSilenced() {
    std::cout.flush();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
}

std::uint64_t tracedDeliveries() {
    std::FILE* scratch = std::tmpfile();
    std::cout.flush();
    std::fflush(stdout);
    int saved = dup(STDOUT_FILENO);
    dup2(fileno(scratch), STDOUT_FILENO);
    vazi = true;
    Graph::simulate();
    std::cout.flush();
    std::fflush(stdout);
    dup2(saved, STDOUT_FILENO);
    close(saved);
    std::rewind(scratch);
    std::uint64_t deliveries = 0;
    char line[256];
    while (std::fgets(line, sizeof line, scratch) != nullptr) {
        std::string text(line);
        unsigned long long more = 0;
        if (text.find(" <-> ") != std::string::npos) {
            ++deliveries;
        } else if (text.find(" more deliveries not printed") != std::string::npos &&
                   std::sscanf(line, "%llu", &more) == 1) {
            deliveries += more;
        }
    }
    std::fclose(scratch);
    return deliveries;
}

std::size_t BareWalk::run() {
    wiring.refresh();
    if (marks.empty()) {
        marks.assign(MAX_G, 0);
    }
    ++pass;
    queue.clear();
    for (const Input* button : Input::inputs) {
        marks[button->getId()] = pass;
        queue.push_back(button->getId());
    }
    std::size_t entries = 0;
    for (std::size_t head = 0; head < queue.size(); ++head) {
        int id = queue[head];
        if (id >= outOffset) {
            continue;
        }
        for (const WireEnd* end = wiring.begin(id); end != wiring.end(id); ++end) {
            ++entries;
            if (marks[end->neighbour()] != pass) {
                marks[end->neighbour()] = pass;
                queue.push_back(end->neighbour());
            }
        }
    }
    return queue.size() + entries;
}
