// Small file helpers shared by the tests that run the programs end to end.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace greetcard::test_support {

// Every byte of a file (empty when it cannot be read).
std::string readBytes(const std::filesystem::path& path);
// Writes the bytes as the whole file.
void writeBytes(const std::filesystem::path& path, std::string_view bytes);
// The names of a folder's entries, sorted.
std::vector<std::string> entriesOf(const std::filesystem::path& folder);

}  // namespace greetcard::test_support
