#pragma once
// Test support: writes small Jet 4 database files (.mdb, 4096-byte pages)
// whose user tables have only text(50) columns. No tool on Debian writes Jet
// files, and the reader needs files it can be checked against. The same
// layout in the older Jet 3 format (Access 97: 2048-byte pages, text in the
// Windows code page, here CP932) checks the reader's Japanese code page.
//
// What is written: the header page (its masked area encoded as Jet does), the
// global usage map on page 1, the definition of the system catalog
// MSysObjects on page 2, the pages holding every table's usage maps, the
// catalog's rows (one per table), then for every table its definition page
// and its data pages. No indexes, no long values, no properties.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace jet::testing {

struct TextTable {
    std::string name;
    std::vector<std::string> columns;                           // every column text(50)
    std::vector<std::vector<std::optional<std::string>>> rows;  // UTF-8; nullopt is NULL
};

enum class TextStorage {
    Utf16,       // every value as plain UTF-16LE
    Compressed,  // Jet 4 "compressed unicode" wherever it is shorter (the Access default)
};
// The name a parametrized test shows for it.
inline void PrintTo(TextStorage storage, std::ostream* os) {
    *os << (storage == TextStorage::Utf16 ? "Utf16" : "Compressed");
}

// The file's bytes. Throws std::invalid_argument for a value longer than 50
// characters, a row without one value per column, invalid UTF-8, or more
// than the writer's limits (one usage map: 512 pages; 255 columns).
// A non-zero pageKey writes an "encoded" database: every page after the
// header RC4-encoded with the key pageKey ^ page number.
std::vector<std::uint8_t> jet4Image(const std::vector<TextTable>& tables, TextStorage storage = TextStorage::Utf16,
                                    std::uint32_t pageKey = 0);

void writeJet4(const std::filesystem::path& file, const std::vector<TextTable>& tables,
               TextStorage storage = TextStorage::Utf16, std::uint32_t pageKey = 0);

// Jet 3, text in CP932. Also throws std::invalid_argument for text CP932
// cannot hold and for a row longer than 255 bytes (such rows would need the
// Jet 3 jump table, which is not written).
std::vector<std::uint8_t> jet3Image(const std::vector<TextTable>& tables);
void writeJet3(const std::filesystem::path& file, const std::vector<TextTable>& tables);

// UTF-8 to UTF-16 code units; throws std::invalid_argument on invalid input.
std::u16string utf16(const std::string& utf8);

}  // namespace jet::testing
