// The recipe of a card as one JSON object: every number printed as the double
// it holds, in the shortest form that reads back to the same double.
#pragma once

#include <string>

#include "synth/art.h"

namespace greetcard {

std::string recipeJson(const Recipe& recipe);

}  // namespace greetcard
