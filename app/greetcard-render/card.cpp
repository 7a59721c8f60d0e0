#include "card.h"

#include <cstdio>

#include "form/cycle.h"
#include "output/caption.h"
#include "platform/headless.h"

namespace greetcard::cli {

void reportError(const std::string& text) {
  const std::string line = std::string(kProgramName) + ": " + text + "\n";
  std::fputs(line.c_str(), stderr);
}

Card paintCard(const std::string& acceptedName, bool caption, unsigned threads) {
  HeadlessServices services;
  services.answer(acceptedName);
  services.setThreads(threads);
  if (caption) services.setTextPrinter(printText);
  PaintCycle cycle(services);
  cycle.run();
  return Card{cycle.picture(), cycle.recipe()};
}

Recipe recipeOf(const std::string& acceptedName) {
  HeadlessServices services;
  services.answer(acceptedName);
  PaintCycle cycle(services);
  // The steps of a cycle up to the picture's parameters, without the scan.
  cycle.askname();
  cycle.makepalette();
  cycle.setparams();
  return cycle.recipe();
}

}  // namespace greetcard::cli
