// The column-view file SetView.cnd of the pay-data window: six lines, one per
// time kind, "1" when the kind's columns are shown.
#pragma once

#include <array>
#include <filesystem>
#include <optional>

namespace paydata {

using ColumnView = std::array<bool, 6>;

// The file in the working folder.
std::filesystem::path columnViewFile(const std::filesystem::path& workDir);

// Line i ticks kind i when it is exactly "1"; missing lines tick nothing.
// nullopt when the file cannot be opened or read.
std::optional<ColumnView> readColumnView(const std::filesystem::path& file);

// Six lines ended by CR LF: "1" for a ticked kind, empty otherwise. Raises
// rtl::FileError when the file cannot be written.
void writeColumnView(const std::filesystem::path& file, const ColumnView& view);

}  // namespace paydata
