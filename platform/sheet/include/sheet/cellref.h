// Cell addresses of a worksheet: "A1" style, columns lettered A..XFD, rows
// numbered from 1.
#pragma once

#include <string>
#include <string_view>

namespace sheet {

struct CellRef {
    int column = 0;  // 1-based: A = 1, Z = 26, AA = 27
    int row = 0;     // 1-based
    bool operator==(const CellRef&) const = default;
};

// Highest column and row a worksheet can address (XFD, 1048576).
inline constexpr int MaxColumn = 16384;
inline constexpr int MaxRow = 1048576;

// "A" -> 1, "BI" -> 61; letters only, either case. Throws
// rtl::AutomationError for anything else or a column beyond XFD.
int columnIndex(std::string_view letters);
// 1 -> "A", 61 -> "BI". Throws rtl::AutomationError outside 1..MaxColumn.
std::string columnName(int column);

// "BE14" -> {57, 14}; "$A$5" is accepted. Throws rtl::AutomationError for a
// text that is no single cell address.
CellRef parseCell(std::string_view address);
// {57, 14} -> "BE14".
std::string cellName(const CellRef& ref);

}  // namespace sheet
