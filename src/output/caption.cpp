#include "output/caption.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QString>
#include <mutex>

namespace greetcard {
namespace {

constexpr const char* kFontResource = ":/fonts/DejaVuSans.ttf";
constexpr const char* kFallbackFamily = "DejaVu Sans";

std::mutex& textMutex() {
  static std::mutex m;
  return m;
}

}  // namespace

QFont cardFont() {
  static const QString family = [] {
    const int id = QFontDatabase::addApplicationFont(QString::fromLatin1(kFontResource));
    const QStringList families = id >= 0 ? QFontDatabase::applicationFontFamilies(id) : QStringList{};
    return families.isEmpty() ? QString::fromLatin1(kFallbackFamily) : families.front();
  }();
  QFont font(family);
  font.setPixelSize(kTextPixelSize);
  font.setHintingPreference(QFont::PreferNoHinting);
  font.setStyleStrategy(QFont::StyleStrategy(QFont::NoFontMerging | QFont::NoSubpixelAntialias));
  font.setKerning(true);
  return font;
}

void printText(Canvas& canvas, int x, int y, std::uint32_t colour, std::string_view utf8) {
  // Glyph outlines are filled as paths by Qt's own rasterizer: the result does
  // not depend on the desktop's font rendering settings.
  const std::lock_guard lock(textMutex());
  const QFont font = cardFont();
  const QString text = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
  const qreal baseline = y + qRound(QFontMetricsF(font).ascent());
  QPainterPath path;
  path.addText(QPointF(x, baseline), font, text);
  QImage image(reinterpret_cast<uchar*>(canvas.data()), canvas.width(), canvas.height(),
               static_cast<qsizetype>(canvas.width()) * sizeof(std::uint32_t), QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.fillPath(path, QColor::fromRgb(colour));
}

}  // namespace greetcard
