// Temporary single-card renderer.
#include <QGuiApplication>
#include <cstdio>
#include <string>

#include "form/cycle.h"
#include "output/caption.h"
#include "output/image_file.h"
#include "output/recipe_json.h"
#include "platform/headless.h"
#include "seeding/name.h"

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  int qargc = 1;
  QGuiApplication app(qargc, argv);
  const std::string name = argc > 1 ? argv[1] : "ana";
  greetcard::HeadlessServices services;
  services.answer(name);
  services.setThreads(2);
  services.setTextPrinter(greetcard::printText);
  greetcard::PaintCycle cycle(services);
  cycle.run();
  std::puts(greetcard::recipeJson(cycle.recipe()).c_str());
  const std::string path = greetcard::fileStemOf(name) + ".png";
  const std::string err = greetcard::writeImage(cycle.picture(), path, greetcard::ImageFormat::Png);
  if (!err.empty()) std::fprintf(stderr, "%s\n", err.c_str());
  return err.empty() ? 0 : 1;
}
