// One card, painted by the same paint cycle the window runs, with headless
// services: the name is the prompt's answer, text goes through the card font.
#pragma once

#include <string>
#include <string_view>

#include "platform/canvas.h"
#include "synth/art.h"

namespace greetcard::cli {

inline constexpr std::string_view kProgramName = "greetcard-render";

// Writes "greetcard-render: <text>" as one line on stderr.
void reportError(const std::string& text);

struct Card {
  Canvas picture;
  Recipe recipe;
};

// Paints the card of a name that checkName accepts: the art with `threads`
// threads (any count gives the same pixels), then the caption unless it is
// left out.
Card paintCard(const std::string& acceptedName, bool caption, unsigned threads);

// Creates the output folder with its parents when missing. Returns false,
// after reporting the folder and the system's reason, when it cannot be made
// or is not a folder.
bool makeOutputFolder(const std::string& folder);

}  // namespace greetcard::cli
