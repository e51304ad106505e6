// Reading Jet 4 files written by the test-support writer, checked against
// what was written and against mdbtools' own commands.

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <cstdlib>
#include <sstream>

#include "support.h"

namespace jet::testing {
namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) out.push_back(line);
    return out;
}

std::vector<std::string> names(const std::vector<TextTable>& tables) {
    std::vector<std::string> out;
    for (const auto& t : tables) out.push_back(t.name);
    return out;
}

class RecorderFile : public ::testing::TestWithParam<TextStorage> {
protected:
    void SetUp() override { writeJet4(file, recorderTables(), GetParam()); }

    TempDir dir;
    std::filesystem::path file = dir / "recorder.mdb";
};

TEST_P(RecorderFile, ListsTheUserTablesInCatalogOrder) {
    Reader reader(file);
    EXPECT_EQ(reader.jetVersion(), 4);
    EXPECT_EQ(reader.tableNames(), names(recorderTables()));
}

TEST_P(RecorderFile, ReadsEveryTableBackAsWrittenKeepingNullApartFromEmpty) {
    Reader reader(file);
    for (const TextTable& t : recorderTables()) {
        SCOPED_TRACE(t.name);
        const Reader::Table got = reader.readTable(t.name);
        EXPECT_EQ(got.columns, t.columns);
        EXPECT_EQ(got.rows, t.rows);
    }
}

TEST_P(RecorderFile, MdbtoolsCommandsReadTheSameFile) {
    if (!onPath("mdb-export")) GTEST_SKIP() << "mdb-export (Debian package mdbtools) is not on PATH";
    const auto tables = recorderTables();

    const CommandResult list = run("mdb-tables -1 " + shellQuote(file.string()));
    ASSERT_EQ(list.exitCode, 0);
    EXPECT_EQ(lines(list.output), names(tables));

    const CommandResult schema = run("mdb-schema " + shellQuote(file.string()) + " 2>&1");
    ASSERT_EQ(schema.exitCode, 0);
    std::size_t textColumns = 0;
    for (std::size_t at = 0; (at = schema.output.find("Text (50)", at)) != std::string::npos; ++at) ++textColumns;
    std::size_t expectedColumns = 0;
    for (const auto& t : tables) {
        EXPECT_NE(schema.output.find("CREATE TABLE [" + t.name + "]"), std::string::npos) << schema.output;
        for (const auto& c : t.columns) EXPECT_NE(schema.output.find("[" + c + "]"), std::string::npos) << c;
        expectedColumns += t.columns.size();
    }
    EXPECT_EQ(textColumns, expectedColumns);

    Reader reader(file);
    for (const auto& t : tables) {
        SCOPED_TRACE(t.name);
        EXPECT_EQ(exportedTable(file, t.name), asExported(reader.readTable(t.name)));
    }
}

INSTANTIATE_TEST_SUITE_P(TextStorage, RecorderFile, ::testing::Values(TextStorage::Utf16, TextStorage::Compressed),
                         [](const auto& info) { return info.param == TextStorage::Utf16 ? "Utf16" : "Compressed"; });

// Access's "encode database" RC4-encodes every page after the header.
TEST(JetReader, EncodedDatabaseReads) {
    TempDir dir;
    const auto file = dir / "encoded.mdb";
    writeJet4(file, recorderTables(), TextStorage::Compressed, 0x5a17c3e9);
    const std::vector<char> bytes = readBytes(file);
    ASSERT_EQ(bytes.size(), jet4Image(recorderTables(), TextStorage::Compressed).size());
    ASSERT_NE(bytes[2 * 4096], 0x02) << "the catalog's definition page is not encoded";
    Reader reader(file);
    for (const auto& t : recorderTables()) {
        SCOPED_TRACE(t.name);
        const Reader::Table got = reader.readTable(t.name);
        EXPECT_EQ(got.rows, t.rows);
        if (onPath("mdb-export")) {
            EXPECT_EQ(exportedTable(file, t.name), asExported(got));
        }
    }
}

TEST(JetReader, EmptyTableHasItsColumnsAndNoRows) {
    TempDir dir;
    auto tables = recorderTables();
    tables[0].rows.clear();
    writeJet4(dir / "empty.mdb", tables);
    Reader reader(dir / "empty.mdb");
    const Reader::Table card = reader.readTable("タイムカード");
    EXPECT_EQ(card.columns, tables[0].columns);
    EXPECT_TRUE(card.rows.empty());
    EXPECT_EQ(reader.readTable("個人").rows, tables[2].rows);
}

TEST(JetReader, TableSpanningManyPagesReadsInOrder) {
    TempDir dir;
    TextTable card = recorderTables()[0];
    card.rows.clear();
    for (int i = 0; i < 3000; ++i) {
        const std::string id = std::to_string(100000 + i);
        card.rows.push_back({"05", "1" + std::to_string(i % 9), "08", std::to_string(i % 60), "00", id,
                             std::to_string(i % 2), "00", i % 7 == 0 ? std::optional<std::string>() : "0"});
    }
    const auto file = dir / "many.mdb";
    writeJet4(file, {card}, TextStorage::Compressed);
    ASSERT_GT(std::filesystem::file_size(file), 20u * 4096u);  // the rows really fill several pages

    Reader reader(file);
    const Reader::Table got = reader.readTable("タイムカード");
    EXPECT_EQ(got.rows, card.rows);
    if (onPath("mdb-export")) {
        EXPECT_EQ(exportedTable(file, "タイムカード"), asExported(got));
    }
}

TEST(JetReader, CatalogSpanningSeveralPagesListsEveryTable) {
    TempDir dir;
    std::vector<TextTable> tables;
    for (int i = 0; i < 100; ++i)
        tables.push_back({"勤怠データ" + std::to_string(i),
                          {"IDコード", "氏名"},
                          {{std::to_string(i), "社員 " + std::to_string(i)}}});
    const auto file = dir / "tables.mdb";
    writeJet4(file, tables);

    Reader reader(file);
    EXPECT_EQ(reader.tableNames(), names(tables));
    EXPECT_EQ(reader.readTable("勤怠データ99").rows, tables[99].rows);
    if (onPath("mdb-tables")) {
        EXPECT_EQ(lines(run("mdb-tables -1 " + shellQuote(file.string())).output), names(tables));
    }
}

TEST(JetReader, CharactersOutsideTheBasicPlaneSurvive) {
    // 𠮷 (U+20BB7) is stored as a UTF-16 surrogate pair; plain UCS-2 would lose it.
    TempDir dir;
    TextTable people = recorderTables()[2];
    people.rows = {{"1", "000001", "𠮷野 はな", "1", "01", "1"}};
    writeJet4(dir / "plane.mdb", {people});
    EXPECT_EQ(Reader(dir / "plane.mdb").readTable("個人").rows, people.rows);
}

TEST(JetReader, OutputIsUtf8WhateverMdbiconvSays) {
    TempDir dir;
    writeJet4(dir / "recorder.mdb", recorderTables());
    const char* before = std::getenv("MDBICONV");
    const std::string saved = before ? before : "";
    setenv("MDBICONV", "EUC-JP", 1);
    std::vector<std::vector<std::optional<std::string>>> rows;
    try {
        rows = Reader(dir / "recorder.mdb").readTable("個人").rows;
    } catch (...) {
    }
    if (before) setenv("MDBICONV", saved.c_str(), 1);
    else unsetenv("MDBICONV");
    EXPECT_EQ(rows, recorderTables()[2].rows);
}

TEST(JetReader, TableNamesMatchExactlyThenIgnoringAsciiCase) {
    TempDir dir;
    TextTable upper{"Punch", {"A"}, {{"upper"}}};
    TextTable lower{"punch", {"A"}, {{"lower"}}};
    TextTable other{"Card", {"A"}, {{"card"}}};
    writeJet4(dir / "names.mdb", {upper, lower, other});
    Reader reader(dir / "names.mdb");
    EXPECT_EQ(reader.readTable("punch").rows[0][0], "lower");
    EXPECT_EQ(reader.readTable("Punch").rows[0][0], "upper");
    EXPECT_EQ(reader.readTable("CARD").rows[0][0], "card");
    EXPECT_EQ(reader.findTable("punch"), "punch");
    EXPECT_EQ(reader.findTable("PUNCH"), "Punch");
    EXPECT_EQ(reader.findTable("card"), "Card");
    EXPECT_EQ(reader.findTable("Cards"), std::nullopt);
}

TEST(JetReader, MissingTableIsAnErrorNamingTableAndFile) {
    TempDir dir;
    const auto file = dir / "recorder.mdb";
    writeJet4(file, {recorderTables()[0]});
    Reader reader(file);
    try {
        reader.readTable("個人");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("個人"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find(file.string()), std::string::npos) << e.what();
    }
    // The catalog lists MSysObjects too, but a system table is not a user table.
    EXPECT_EQ(reader.tableNames(), std::vector<std::string>{"タイムカード"});
}

TEST(JetReader, OpensReadOnlyAndLeavesTheFileAsItWas) {
    TempDir dir;
    const auto file = dir / "recorder.mdb";
    writeJet4(file, recorderTables());
    std::filesystem::permissions(file, std::filesystem::perms::owner_read | std::filesystem::perms::group_read |
                                           std::filesystem::perms::others_read);
    const auto bytes = readBytes(file);
    const auto stamp = std::filesystem::last_write_time(file);
    {
        Reader reader(file);
        for (const auto& name : reader.tableNames()) reader.readTable(name);
    }
    EXPECT_EQ(readBytes(file), bytes);
    EXPECT_EQ(std::filesystem::last_write_time(file), stamp);
}

TEST(JetReader, MovedReaderKeepsTheOpenFile) {
    TempDir dir;
    writeJet4(dir / "recorder.mdb", recorderTables());
    Reader first(dir / "recorder.mdb");
    Reader second(std::move(first));
    EXPECT_EQ(second.readTable("区分").rows, recorderTables()[1].rows);
    EXPECT_EQ(second.file(), dir / "recorder.mdb");
}

}  // namespace
}  // namespace jet::testing
