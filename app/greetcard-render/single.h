// One card from a NAME on the command line.
#pragma once

#include "options.h"

namespace greetcard::cli {

// Renders, prints and writes what the options ask for; returns the exit
// status (0 written, 1 not written, 2 name refused, 130 interrupted).
int runSingle(const Options& options);

}  // namespace greetcard::cli
