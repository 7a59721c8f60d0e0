#include "platform/qt_services.h"

#include <QCoreApplication>
#include <QInputDialog>
#include <QScreen>
#include <QWidget>

#include "output/caption.h"

namespace greetcard {
namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

QtServices::QtServices(QWidget& window, Canvas& surface) : window_(window), surface_(surface) {}

std::string QtServices::promptName(std::string_view line1, std::string_view line2) {
  if (prompt_) return prompt_(line1, line2);
  return askWithDialog(line1, line2);
}

std::string QtServices::askWithDialog(std::string_view line1, std::string_view line2) {
  // A fresh dialog for every question, so a refused answer never stays in
  // the field. It has no title of its own: the platform shows its default.
  QInputDialog dialog(&window_);
  dialog.setInputMode(QInputDialog::TextInput);
  dialog.setLabelText(fromUtf8(line1) + QLatin1Char('\n') + fromUtf8(line2));
  dialog.setTextValue(QString());
  const QScreen* screen = window_.screen();
  const QPoint screenCorner = screen ? screen->geometry().topLeft() : QPoint();
  dialog.move(screenCorner + QPoint(kPromptLeft, kPromptTop));
  if (dialog.exec() != QDialog::Accepted) return {};
  return dialog.textValue().toStdString();
}

LocalTime QtServices::now() { return localNow(); }

bool QtServices::processEvents() {
  if (ended_) return false;
  if (beforeEvents_) beforeEvents_();
  QCoreApplication::processEvents();
  return !ended_;
}

void QtServices::printText(Canvas& canvas, int x, int y, std::uint32_t colour, std::string_view text) {
  greetcard::printText(canvas, x, y, colour, text);
}

void QtServices::printOnWindow(int x, int y, std::string_view text) {
  const std::uint32_t colour = window_.palette().color(QPalette::WindowText).rgb();
  greetcard::printText(surface_, x, y, colour, text);
  window_.update();
}

}  // namespace greetcard
