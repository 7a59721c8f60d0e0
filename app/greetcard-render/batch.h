// A mailing list: every name of a list becomes a card in the output folder,
// several cards at once, with a progress bar on a terminal and one summary
// line at the end.
#pragma once

#include "options.h"

namespace greetcard::cli {

// Renders the list the options name; returns the exit status (0 all
// written, 1 a line refused or a card not written, 2 the list cannot be
// read, 130 interrupted).
int runBatch(const Options& options);

}  // namespace greetcard::cli
