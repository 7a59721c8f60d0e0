#include "output/image_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <QSaveFile>
#include <QString>
#include <algorithm>
#include <cctype>
#include <cstring>
#include <system_error>

namespace greetcard {
namespace {

bool endsWithNoCase(std::string_view s, std::string_view suffix) {
  if (s.size() < suffix.size()) return false;
  return std::equal(suffix.begin(), suffix.end(), s.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                    [](char wanted, char given) {
                      return std::tolower(static_cast<unsigned char>(given)) == wanted;
                    });
}

const char* qtFormat(ImageFormat format) { return format == ImageFormat::Png ? "png" : "bmp"; }

}  // namespace

std::optional<ImageFormat> formatOfPath(std::string_view path) {
  if (endsWithNoCase(path, ".png")) return ImageFormat::Png;
  if (endsWithNoCase(path, ".bmp")) return ImageFormat::Bmp;
  return std::nullopt;
}

std::string_view extensionOf(ImageFormat format) { return format == ImageFormat::Png ? ".png" : ".bmp"; }

std::string makeFolder(const std::filesystem::path& folder) {
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error) return error.message();
  if (!std::filesystem::is_directory(folder, error)) {
    return std::make_error_code(std::errc::not_a_directory).message();
  }
  return {};
}

QImage toImage(const Canvas& canvas) {
  QImage image(canvas.width(), canvas.height(), QImage::Format_RGB32);
  for (int y = 0; y < canvas.height(); ++y) {
    std::memcpy(image.scanLine(y), canvas.data() + static_cast<std::size_t>(y) * canvas.width(),
                static_cast<std::size_t>(canvas.width()) * sizeof(std::uint32_t));
  }
  return image;
}

std::string writeImage(const Canvas& canvas, const std::string& path, ImageFormat format) {
  const QString qpath = QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size()));
  const auto failure = [&path](const QString& reason) {
    return "cannot write " + path + ": " + reason.toStdString();
  };
  // Encoded in memory first, so the file sees plain writes: a short write is
  // written again, and a failing one then tells the system's reason (a file
  // size limit, a full disk) instead of an unspecified error.
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, qtFormat(format));
  if (!writer.write(toImage(canvas))) return failure(writer.errorString());
  QSaveFile file(qpath);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return failure(file.errorString());
  for (qsizetype done = 0; done < bytes.size();) {
    const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
    if (written <= 0) {
      const QString reason = file.errorString();
      file.cancelWriting();
      return failure(reason);
    }
    done += static_cast<qsizetype>(written);
  }
  if (!file.commit()) return failure(file.errorString());
  return {};
}

}  // namespace greetcard
