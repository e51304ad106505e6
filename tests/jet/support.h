#pragma once
// Helpers shared by the Jet tests: temporary folders, running the mdbtools
// commands, and reading their CSV.

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "jet/reader.h"
#include "jet4_writer.h"

namespace jet::testing {

// A fresh folder, removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string shellQuote(const std::string& s);

struct CommandResult {
    int exitCode = -1;
    std::string output;  // standard output only
};
CommandResult run(const std::string& command);

bool onPath(const std::string& program);

// RFC 4180 style: quoted fields may hold commas, quotes (doubled) and line breaks.
std::vector<std::vector<std::string>> parseCsv(const std::string& text);

// mdb-export's view of a table: the header line, then the rows; NULL and the
// empty string both come out as an empty field.
std::vector<std::vector<std::string>> exportedTable(const std::filesystem::path& file, const std::string& table,
                                                    const std::string& options = "");

// The reader's table in the same shape.
std::vector<std::vector<std::string>> asExported(const Reader::Table& table);

std::vector<char> readBytes(const std::filesystem::path& file);
void writeBytes(const std::filesystem::path& file, const std::vector<char>& bytes);

// The three tables of the time recorder's database, with a few rows.
std::vector<TextTable> recorderTables();

}  // namespace jet::testing
