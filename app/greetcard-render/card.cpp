#include "card.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

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

bool makeOutputFolder(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  std::error_code unknown;
  if (!error && !std::filesystem::is_directory(folder, unknown)) {
    error = std::make_error_code(std::errc::not_a_directory);
  }
  if (error) reportError("cannot create the output folder " + folder + ": " + error.message());
  return !error;
}

}  // namespace greetcard::cli
