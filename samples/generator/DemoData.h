#pragma once
// The demo data set: a small town map ("示范图") in MapGIS 6.x files, made
// the same, byte for byte, on every run.
#include <filesystem>
#include <string>

namespace demo {

// Writes the data set into `folder` (created when missing), replacing files
// of the same names. Returns false with the reason in `error` on failure.
bool GenerateDemoData(const std::filesystem::path& folder, std::string* error);

}  // namespace demo
