#pragma once
// Read-only reader of Microsoft Jet database files (.mdb, Jet 3 and Jet 4)
// through mdbtools' libmdb. Every value comes back as UTF-8 text.

#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace jet {

// Any failure to open or read a file. The message is Japanese, names the file
// and is meant to be shown to the user as it stands.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class Reader {
public:
    struct Table {
        std::vector<std::string> columns;                           // in the table's column order
        std::vector<std::vector<std::optional<std::string>>> rows;  // NULL is nullopt
    };

    // Opens the file read-only (nothing is ever written to it). Throws Error
    // when the file is missing, unreadable or not a Jet database.
    explicit Reader(const std::filesystem::path& file);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;
    Reader(Reader&&) noexcept;
    Reader& operator=(Reader&&) noexcept;

    // The user tables, in catalog order (system tables are left out).
    std::vector<std::string> tableNames();

    // The name under which the file holds the table `name`, matched as Jet
    // does: exactly, else ignoring ASCII case; nullopt when there is none.
    std::optional<std::string> findTable(const std::string& name) const;

    // Every row of a table, every column as text. The name is matched as
    // findTable does. Throws Error when the table is missing or cannot be read.
    Table readTable(const std::string& name);

    // 3 for Jet 3 (Access 97), 4 for Jet 4 (Access 2000-2003), 5 or more for
    // the Access 2007+ formats libmdb also reads.
    int jetVersion() const;

    const std::filesystem::path& file() const;

private:
    struct Impl;
    std::unique_ptr<Impl> d;
};

}  // namespace jet
