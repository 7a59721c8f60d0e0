#include <cstdio>
#include "output/recipe_json.h"
int main(int argc, char** argv) {
  std::puts(greetcard::recipeJson(greetcard::makeRecipe(argc > 1 ? argv[1] : "ana")).c_str());
}
