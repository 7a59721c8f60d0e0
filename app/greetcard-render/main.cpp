// greetcard-render: the greeting card of a name, or of every name of a list,
// painted without a window and written as PNG or BMP files.
#include <QGuiApplication>
#include <QtGlobal>
#include <cstdio>
#include <iostream>
#include <variant>

#include "batch.h"
#include "card.h"
#include "interrupt.h"
#include "options.h"
#include "single.h"

namespace {

constexpr int kExitUsage = 2;

// Qt's informational chatter (missing XDG_RUNTIME_DIR and the like) is of no
// use here; only messages about real failures get through.
void keepSeriousMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
  if (type != QtCriticalMsg && type != QtFatalMsg) return;
  greetcard::cli::reportError("Qt: " + message.toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  using namespace greetcard::cli;
  // The name list is read from std::cin in blocks rather than byte by byte;
  // stdout and stderr are written through C stdio only.
  std::ios::sync_with_stdio(false);

  const auto parsed = parseArguments(argc, argv);
  if (const auto* usage = std::get_if<UsageError>(&parsed)) {
    reportError(usage->message);
    std::fprintf(stderr, "Try '%s --help' for more information.\n", std::string(kProgramName).c_str());
    return kExitUsage;
  }
  const Options& options = std::get<Options>(parsed);
  if (options.action == Options::Action::Help) {
    std::fputs(usageText().c_str(), stdout);
    return 0;
  }
  if (options.action == Options::Action::Version) {
    std::printf("%s %s\n", std::string(kProgramName).c_str(), GREETCARD_VERSION);
    return 0;
  }

  // Text needs a QGuiApplication; the program never opens a window.
  qInstallMessageHandler(keepSeriousMessages);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);

  installInterruptHandlers();
  return options.namesFile ? runBatch(options) : runSingle(options);
}
