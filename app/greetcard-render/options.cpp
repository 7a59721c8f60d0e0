#include "options.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <string_view>
#include <thread>

namespace greetcard::cli {
namespace {

using namespace std::string_view_literals;

std::string inQuotes(std::string_view s) {
  std::string out(1, '\'');
  out.append(s);
  out += '\'';
  return out;
}

std::string lowerCase(std::string_view s) {
  std::string out(s);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return out;
}

std::optional<unsigned> parseJobs(std::string_view text) {
  unsigned value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
  if (value < 1 || value > kMaxJobs) return std::nullopt;
  return value;
}

// Walks argv, handing out options and the values they take.
class ArgumentCursor {
 public:
  ArgumentCursor(int argc, const char* const* argv) : argc_(argc), argv_(argv) {}
  bool done() const { return next_ >= argc_; }
  std::string_view take() { return argv_[next_++]; }
  std::optional<std::string_view> takeValue() {
    if (done()) return std::nullopt;
    return take();
  }

 private:
  int argc_;
  const char* const* argv_;
  int next_ = 1;
};

// The options that take a value, each under its short and long spelling.
enum class Valued { Output, Names, OutDir, Format, Jobs };

struct ValuedOption {
  Valued which;
  std::string_view shortName;  // empty when there is none
  std::string_view longName;
};

constexpr ValuedOption kValuedOptions[] = {
    {Valued::Output, "-o", "--output"},
    {Valued::Names, "", "--names"},
    {Valued::OutDir, "", "--out-dir"},
    {Valued::Format, "", "--format"},
    {Valued::Jobs, "-j", "--jobs"},
};

std::optional<UsageError> setValue(Options& o, Valued which, std::string_view spelled, std::string_view value) {
  switch (which) {
    case Valued::Output:
      o.output = std::string(value);
      break;
    case Valued::Names:
      o.namesFile = std::string(value);
      break;
    case Valued::OutDir:
      if (value.empty()) return UsageError{"the folder given to --out-dir is empty"};
      o.outDir = std::string(value);
      break;
    case Valued::Format: {
      const std::string lower = lowerCase(value);
      if (lower == "png") {
        o.format = ImageFormat::Png;
      } else if (lower == "bmp") {
        o.format = ImageFormat::Bmp;
      } else {
        return UsageError{"unknown format " + inQuotes(value) + " for " + std::string(spelled) +
                          "; use png or bmp"};
      }
      break;
    }
    case Valued::Jobs: {
      const auto jobs = parseJobs(value);
      if (!jobs) {
        return UsageError{"bad value " + inQuotes(value) + " for " + std::string(spelled) +
                          "; give a whole number from 1 to " + std::to_string(kMaxJobs)};
      }
      o.jobs = *jobs;
      break;
    }
  }
  return std::nullopt;
}

// Checks that the options asked for fit together.
std::optional<UsageError> checkCombination(Options& o) {
  if (o.name && o.namesFile) return UsageError{"give either a NAME or --names, not both"};
  if (!o.name && !o.namesFile) return UsageError{"no NAME given (or --names FILE for a list)"};
  if (o.namesFile) {
    if (o.output) return UsageError{"-o names the file of one card; with --names use --out-dir"};
    if (o.recipe) return UsageError{"--recipe describes one card; it cannot be used with --names"};
  }
  if (o.output) {
    if (o.outDir) return UsageError{"-o and --out-dir cannot be used together; put the folder into -o"};
    const auto format = formatOfPath(*o.output);
    if (!format) {
      return UsageError{"cannot tell the format of " + inQuotes(*o.output) +
                        " from its name; it must end in .png or .bmp"};
    }
    if (o.format && *o.format != *format) {
      return UsageError{"--format disagrees with the extension of " + inQuotes(*o.output)};
    }
    o.outputFormat = *format;
  }
  return std::nullopt;
}

}  // namespace

std::variant<Options, UsageError> parseArguments(int argc, const char* const* argv) {
  Options o;
  ArgumentCursor args(argc, argv);
  bool optionsEnded = false;
  while (!args.done()) {
    const std::string_view arg = args.take();
    const bool isOption = !optionsEnded && arg.size() > 1 && arg.front() == '-';
    if (!isOption) {
      if (o.name) return UsageError{"more than one NAME given (" + inQuotes(*o.name) + " and " + inQuotes(arg) + ")"};
      o.name = std::string(arg);
      continue;
    }
    if (arg == "--"sv) {
      optionsEnded = true;
      continue;
    }
    if (arg == "-h"sv || arg == "--help"sv) {
      o.action = Options::Action::Help;
      return o;
    }
    if (arg == "--version"sv) {
      o.action = Options::Action::Version;
      return o;
    }
    if (arg == "--no-caption"sv) {
      o.caption = false;
      continue;
    }
    if (arg == "--recipe"sv) {
      o.recipe = true;
      continue;
    }
    bool known = false;
    for (const ValuedOption& option : kValuedOptions) {
      std::optional<std::string_view> value;
      std::string_view spelled;
      if (arg == option.longName || (!option.shortName.empty() && arg == option.shortName)) {
        spelled = arg;
        value = args.takeValue();
        if (!value) return UsageError{std::string(arg) + " needs a value"};
      } else if (arg.size() > option.longName.size() && arg.starts_with(option.longName) &&
                 arg[option.longName.size()] == '=') {
        spelled = option.longName;
        value = arg.substr(option.longName.size() + 1);
      } else if (!option.shortName.empty() && arg.size() > option.shortName.size() &&
                 arg.starts_with(option.shortName) && !arg.starts_with("--")) {
        spelled = option.shortName;
        value = arg.substr(option.shortName.size());
      } else {
        continue;
      }
      if (auto error = setValue(o, option.which, spelled, *value)) return *error;
      known = true;
      break;
    }
    if (!known) return UsageError{"unknown option " + inQuotes(arg)};
  }
  if (auto error = checkCombination(o)) return *error;
  return o;
}

unsigned jobsOf(const Options& options) {
  if (options.jobs > 0) return options.jobs;
  return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxJobs);
}

std::string usageText() {
  return R"(Usage: greetcard-render [OPTIONS] NAME
       greetcard-render [OPTIONS] --names FILE

Paints the New Year greeting card of a name: the art, with the name and the
wish printed over its foot. A name has at most 100 characters, each a small
letter a to z or a blank.

One card:
  NAME                   the name (one argument; quote it when it has blanks)
  -o, --output FILE      write the card to FILE; .png or .bmp (any case) picks
                         the format. Without -o the card goes to the current
                         folder (or --out-dir) as NAME.png, blanks turned
                         into _, card.png for the empty name
  --recipe               print the card's recipe (one JSON object) on stdout;
                         a card is written too only when -o is given

A mailing list:
  --names FILE           render every name of FILE, one name a line (UTF-8;
                         CRLF line ends and a byte-order mark are fine; empty
                         lines are skipped); - reads the names from stdin
  --out-dir DIR          folder for the cards (created when missing; default
                         the current folder); each card is NAME.png or
                         NAME.bmp as above
  --format png|bmp       format of the cards (default png; also for one card
                         without -o)

Both:
  --no-caption           the art alone, without the caption
  -j, --jobs N           threads (1 to 64; default one per core): a list
                         renders N cards at once, one card is painted by N
                         threads (the pixels are the same for any N)
  -h, --help             show this text and exit
  --version              show the version and exit

Exit status:
  0    every card written
  1    a card (or the output folder) could not be written, or a list
       line was refused
  2    wrong usage, a refused NAME, or a list that cannot be read
  130  interrupted (SIGINT or SIGTERM); the cards finished so far are kept
)";
}

}  // namespace greetcard::cli
