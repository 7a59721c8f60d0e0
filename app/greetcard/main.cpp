// greetcard: the desktop window. Asks for a name, paints its card row by row,
// and then repeats, saves a snapshot into the snapshot folder, or exits.
#include <QApplication>

#include "form/form1.h"
#include "form/snapshot.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  greetcard::Form1 form(greetcard::defaultSnapshotFolder());
  QObject::connect(&form, &greetcard::Form1::finished, &app, &QCoreApplication::quit);
  form.start();
  return app.exec();
}
