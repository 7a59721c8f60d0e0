// SIGINT and SIGTERM as a request to stop: the handler only sets a flag, and
// the program looks at it between cards.
#pragma once

namespace greetcard::cli {

// Exit status of a run stopped by a signal.
inline constexpr int kExitInterrupted = 130;

// Routes SIGINT and SIGTERM to the flag.
void installInterruptHandlers();

// Whether a stop was asked for.
bool interruptRequested();

}  // namespace greetcard::cli
