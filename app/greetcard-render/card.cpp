#include "card.h"

#include <cstdio>

#include "form/cycle.h"
#include "output/caption.h"
#include "output/image_file.h"
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

bool makeOutputFolder(const std::string& folder) {
  const std::string reason = makeFolder(folder);
  if (!reason.empty()) reportError("cannot create the output folder " + folder + ": " + reason);
  return reason.empty();
}

}  // namespace greetcard::cli
