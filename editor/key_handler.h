#pragma once

// Runs on every key-down event, auto-repeats included. Looks at every held key,
// not at the key the event names: several held keys act together.
void handleKeyDown();
