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

// The recipe of a name that checkName accepts, without painting.
Recipe recipeOf(const std::string& acceptedName);

}  // namespace greetcard::cli
