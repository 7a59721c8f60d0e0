// `saveimage` of the main window, kept apart from the widget: the column by
// column copy of the visible canvas into the hidden one, the progress tick
// that moves below the picture while it runs, and the snapshot file.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/canvas.h"

namespace greetcard {

// Size of the window's own drawing surface: the right edge of the canvas and
// the bottom edge of the lowest button. The window is never smaller.
inline constexpr int kSurfaceWidth = 732;
inline constexpr int kSurfaceHeight = 641;

// The progress tick: after column i a white line at x = i + kTickLeadOffset
// and a black line at x = i + kTickTrailOffset, both from y kTickTop to
// kTickBottom (the end point is not painted, as with every line).
inline constexpr int kTickTop = 560;
inline constexpr int kTickBottom = 567;
inline constexpr int kTickLeadOffset = 31;
inline constexpr int kTickTrailOffset = 29;

// Extension of a snapshot file.
inline constexpr std::string_view kSnapshotExtension = ".bmp";

// The folder snapshots go to: "C:\wimgx" on Windows, ~/wimgx elsewhere.
std::filesystem::path defaultSnapshotFolder();


// Copies `picture1` into `picture2` column by column, columns 0..lastColumn and
// in each rows 0..lastRow; a read outside `picture1` gives a value that the
// write ignores. After each column it draws the progress tick on `surface`.
// The loop counters are its own.
void copyColumns(const Canvas& picture1, Canvas& picture2, Canvas& surface, int lastColumn, int lastRow);

// Path of the snapshot file: the folder, the snapshot name, ".bmp".
std::filesystem::path snapshotPath(const std::filesystem::path& folder, std::string_view imeslike);

// Writes `picture2` as the snapshot file `imeslike`.bmp into `folder`,
// creating the folder when it is missing and replacing a file of the same name
// atomically. Returns the empty text on success, otherwise a message naming
// the path and the system's reason.
std::string writeSnapshot(const Canvas& picture2, const std::filesystem::path& folder, std::string_view imeslike);

}  // namespace greetcard
