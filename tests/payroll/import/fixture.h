// A temporary working folder with a delivered database and a data module
// pointed at it, plus small helpers to write CSV exports and recorder files
// and to read タイムカード back.
#pragma once

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "data/DB_Acs.h"
#include "jet4_writer.h"

namespace payroll::testing {

enum class Encoding { Utf8, Cp932, Utf16 };  // UTF-16: little endian with its mark

// One punch row, every column as text, in table order.
using PunchRow = std::vector<std::string>;

class ImportFolder : public ::testing::Test {
public:
    void SetUp() override;
    void TearDown() override;
    // A new folder and database within one test (for tables of cases).
    void fresh() {
        TearDown();
        SetUp();
    }

    // Writes lines joined by CR LF (the recorder's line end) in the encoding.
    std::filesystem::path writeCsv(const std::string& name, const std::vector<std::string>& lines,
                                   Encoding encoding = Encoding::Utf8);
    std::filesystem::path writeJet(const std::string& name, const std::vector<jet::testing::TextTable>& tables,
                                   jet::testing::TextStorage storage = jet::testing::TextStorage::Utf16);

    void exec(const std::string& sql);
    // Rows of a table in insertion order, every column as text.
    std::vector<PunchRow> rows(const std::string& table);
    std::vector<PunchRow> punches() { return rows("タイムカード"); }
    // A few punches standing for an earlier import.
    void seedOldPunches();
    // An employee in emp_tanka with a code and a work category.
    void addEmployee(int number, const std::string& code, const std::string& category);
    // A work category in 区分 with its work window.
    void addCategory(const std::string& code, const std::string& start, const std::string& end);

    std::filesystem::path dir;
    std::string dbPath;
    std::unique_ptr<data::TDataModule1> dm;
};

// A CSV line with the given fields at their positions, the rest filled with
// placeholder text; `width` fields in all.
std::string csvLine(int width, const std::vector<std::pair<int, std::string>>& fields);
// Layout 1: employee 1, date 4, clock-in 8, clock-out 11.
std::string layout1Line(const std::string& employee, const std::string& date, const std::string& in,
                        const std::string& out);
// Layout 2: employee 1, date 4, clock-in 8, clock-out 14.
std::string layout2Line(const std::string& employee, const std::string& date, const std::string& in,
                        const std::string& out);

// The recorder's three tables with a few rows (Japanese text included).
std::vector<jet::testing::TextTable> recorderTables();

}  // namespace payroll::testing
