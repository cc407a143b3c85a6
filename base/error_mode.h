// How the system answers when a file lies on a drive that cannot be read.
#pragma once

// Keeps the system's "no disk" and "cannot open" boxes away: a path on an
// empty card reader or disc drive fails at once instead of stopping the
// program behind a box it did not ask for. Whatever else the error mode
// holds stays. The entry's second step.
void SilenceCriticalErrors();
