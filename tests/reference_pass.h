#pragma once

// The propagation pass exactly as first written: the whole wire list scanned for
// every adjacency entry, one queue entry per delivery. The fast pass must give
// the same results; this one is the yardstick.
void referenceSimulate();
