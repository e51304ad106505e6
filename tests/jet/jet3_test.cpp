// Jet 3 (Access 97) files keep text in the Windows code page of the machine
// that wrote them. A Japanese time recorder's file is in CP932, which the
// reader decodes whatever the header or the environment claims.

#include <gtest/gtest.h>

#include <cstdlib>

#include "support.h"

namespace jet::testing {
namespace {

std::vector<TextTable> jet3Tables() {
    auto tables = recorderTables();
    // Characters where CP932 and plain Shift_JIS part ways: the backslash (not
    // a yen sign), the full-width tilde, NEC and IBM extensions.
    tables[2].rows.push_back({"5", "000015", "C:\\TIME\\～①髙", "x", "01", "1"});
    return tables;
}

class Jet3File : public ::testing::Test {
protected:
    void SetUp() override { writeJet3(file, jet3Tables()); }

    TempDir dir;
    std::filesystem::path file = dir / "recorder97.mdb";
};

TEST_F(Jet3File, ReadsCp932TextAsUtf8) {
    Reader reader(file);
    EXPECT_EQ(reader.jetVersion(), 3);
    const auto tables = jet3Tables();
    std::vector<std::string> names;
    for (const auto& t : tables) names.push_back(t.name);
    EXPECT_EQ(reader.tableNames(), names);
    for (const auto& t : tables) {
        SCOPED_TRACE(t.name);
        const Reader::Table got = reader.readTable(t.name);
        EXPECT_EQ(got.columns, t.columns);
        EXPECT_EQ(got.rows, t.rows);
    }
}

TEST_F(Jet3File, MdbExportAgreesWhenToldTheCodePage) {
    if (!onPath("mdb-export")) GTEST_SKIP() << "mdb-export (Debian package mdbtools) is not on PATH";
    Reader reader(file);
    for (const auto& t : jet3Tables()) {
        SCOPED_TRACE(t.name);
        const CommandResult r =
            run("MDB_JET3_CHARSET=CP932 mdb-export " + shellQuote(file.string()) + " " + shellQuote(t.name));
        ASSERT_EQ(r.exitCode, 0);
        EXPECT_EQ(parseCsv(r.output), asExported(reader.readTable(t.name)));
    }
}

TEST_F(Jet3File, EnvironmentDoesNotChangeTheCodePage) {
    const char* before = std::getenv("MDB_JET3_CHARSET");
    const std::string saved = before ? before : "";
    setenv("MDB_JET3_CHARSET", "CP1252", 1);
    std::vector<std::vector<std::optional<std::string>>> rows;
    try {
        rows = Reader(file).readTable("個人").rows;
    } catch (...) {
    }
    if (before) setenv("MDB_JET3_CHARSET", saved.c_str(), 1);
    else unsetenv("MDB_JET3_CHARSET");
    EXPECT_EQ(rows, jet3Tables()[2].rows);
}

}  // namespace
}  // namespace jet::testing
