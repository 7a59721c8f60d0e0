#include "single.h"

#include <cstdio>
#include <filesystem>

#include "card.h"
#include "interrupt.h"
#include "output/image_file.h"
#include "output/recipe_json.h"
#include "seeding/name.h"

namespace greetcard::cli {
namespace {

constexpr int kExitNotWritten = 1;
constexpr int kExitRefused = 2;

void printRecipe(const Recipe& recipe) {
  const std::string json = recipeJson(recipe) + "\n";
  std::fputs(json.c_str(), stdout);
  std::fflush(stdout);
}

}  // namespace

int runSingle(const Options& options) {
  const std::string& name = *options.name;
  if (const auto problem = checkName(name)) {
    reportError("refused name: " + problem->message());
    return kExitRefused;
  }
  if (options.recipe && !options.output) {
    printRecipe(makeRecipe(name));
    return 0;
  }

  ImageFormat format = options.format.value_or(ImageFormat::Png);
  std::string path;
  if (options.output) {
    path = *options.output;
    format = options.outputFormat;
  } else {
    const std::string file = fileStemOf(name) + std::string(extensionOf(format));
    if (options.outDir) {
      if (!makeOutputFolder(*options.outDir)) return kExitNotWritten;
      path = (std::filesystem::path(*options.outDir) / file).string();
    } else {
      path = file;
    }
  }

  const Card card = paintCard(name, options.caption, jobsOf(options));
  if (options.recipe) printRecipe(card.recipe);
  if (interruptRequested()) {
    reportError("interrupted; nothing written");
    return kExitInterrupted;
  }
  if (const std::string error = writeImage(card.picture, path, format); !error.empty()) {
    reportError(error);
    return kExitNotWritten;
  }
  return 0;
}

}  // namespace greetcard::cli
