// Pictures on disk: PNG or BMP, always written under a temporary name in the
// target's folder and renamed into place, so a failure never leaves a cut-off
// file and never destroys an earlier one.
#pragma once

#include <QImage>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace greetcard {

enum class ImageFormat { Png, Bmp };

// The format a file name's extension names (.png or .bmp, any case).
std::optional<ImageFormat> formatOfPath(std::string_view path);
// The extension of a format, with its dot.
std::string_view extensionOf(ImageFormat format);

// Creates the folder (and its parents) when it is missing. Returns the empty
// text on success, otherwise the system's reason (also when the path names
// something that is not a folder).
std::string makeFolder(const std::filesystem::path& folder);

// A deep copy of the canvas as a Qt image.
QImage toImage(const Canvas& canvas);

// Writes the canvas to `path`; returns the empty text on success, otherwise a
// message naming the path and the system's reason.
std::string writeImage(const Canvas& canvas, const std::string& path, ImageFormat format);

}  // namespace greetcard
