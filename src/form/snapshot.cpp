#include "form/snapshot.h"

#include <QDir>

#include "output/image_file.h"

namespace greetcard {
namespace {

#ifdef _WIN32
constexpr std::string_view kWindowsFolder = "C:\\wimgx";
#else
// Drive C: stands for the home folder.
constexpr std::string_view kFolderName = "wimgx";
#endif

}  // namespace

std::filesystem::path defaultSnapshotFolder() {
#ifdef _WIN32
  return std::filesystem::path(kWindowsFolder);
#else
  return std::filesystem::path(QDir::homePath().toStdString()) / kFolderName;
#endif
}

void copyColumns(const Canvas& picture1, Canvas& picture2, Canvas& surface, int lastColumn, int lastRow) {
  for (int column = 0; column <= lastColumn; ++column) {
    for (int row = 0; row <= lastRow; ++row) picture2.setPixel(column, row, picture1.pixel(column, row));
    surface.line({column + kTickLeadOffset, kTickTop, column + kTickLeadOffset, kTickBottom}, kWhite);
    surface.line({column + kTickTrailOffset, kTickTop, column + kTickTrailOffset, kTickBottom}, kBlack);
  }
}

std::filesystem::path snapshotPath(const std::filesystem::path& folder, std::string_view imeslike) {
  std::string fileName(imeslike);
  fileName += kSnapshotExtension;
  return folder / fileName;
}

std::string writeSnapshot(const Canvas& picture2, const std::filesystem::path& folder, std::string_view imeslike) {
  const std::string path = snapshotPath(folder, imeslike).string();
  if (const std::string reason = makeFolder(folder); !reason.empty()) {
    return "cannot write " + path + ": cannot create the folder " + folder.string() + ": " + reason;
  }
  return writeImage(picture2, path, ImageFormat::Bmp);
}

}  // namespace greetcard
