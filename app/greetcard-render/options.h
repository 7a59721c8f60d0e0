// The command line of greetcard-render: what it asks for, read from argv as
// raw bytes (a name is judged byte for byte, invalid UTF-8 included).
#pragma once

#include <optional>
#include <string>
#include <variant>

#include "output/image_file.h"

namespace greetcard::cli {

// Most worker threads -j accepts.
inline constexpr unsigned kMaxJobs = 64;

struct Options {
  enum class Action { Render, Help, Version };
  Action action = Action::Render;
  std::optional<std::string> name;       // NAME: one card
  std::optional<std::string> namesFile;  // --names: a list, "-" for stdin
  std::optional<std::string> output;     // -o: the card's file
  std::optional<std::string> outDir;     // --out-dir: where generated file names go
  std::optional<ImageFormat> format;     // --format: format of generated file names
  ImageFormat outputFormat = ImageFormat::Png;  // format of -o, from its extension
  unsigned jobs = 0;                     // -j; 0: one per core
  bool caption = true;                   // off with --no-caption
  bool recipe = false;                   // --recipe
};

// A command line that cannot be run, with the reason.
struct UsageError {
  std::string message;
};

std::variant<Options, UsageError> parseArguments(int argc, const char* const* argv);

// The --help text.
std::string usageText();

// Threads to use: -j, or one per core.
unsigned jobsOf(const Options& options);

}  // namespace greetcard::cli
