// A Jet 4 file no one here wrote: the example database Monitor.mdb that
// Debian's mrtg-contrib package ships. The package is fetched (not installed)
// at run time and cached in the build folder.

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <variant>

#include "support.h"

namespace jet::testing {
namespace {

const char* const kInPackage = "usr/share/doc/mrtg-contrib/examples/contrib/monitor/Monitor.mdb";

// The extracted Monitor.mdb, or the reason it cannot be had. The package is
// fetched and unpacked in a temporary folder and only the database is kept;
// it is moved into the cache in one step, so tests running side by side
// never see half a file.
std::variant<std::filesystem::path, std::string> monitorDatabase() {
    const std::filesystem::path cache = JET_TEST_CACHE_DIR;
    const std::filesystem::path kept = cache / "Monitor.mdb";
    if (std::filesystem::exists(kept)) return kept;

    if (!onPath("apt-get") || !onPath("dpkg-deb")) return std::string("apt-get or dpkg-deb is not available");
    TempDir work;
    const std::string dir = shellQuote(work.path().string());
    const CommandResult download = run("cd " + dir + " && timeout 120 apt-get download -q mrtg-contrib 2>&1");
    if (download.exitCode != 0)
        return "apt-get download mrtg-contrib failed (no network or no package list?): " + download.output;
    const CommandResult extract = run("cd " + dir + " && dpkg-deb -x mrtg-contrib_*.deb package 2>&1");
    if (extract.exitCode != 0) return "dpkg-deb -x failed: " + extract.output;

    const std::filesystem::path packaged = work / "package" / kInPackage;
    std::filesystem::path gz = packaged;
    gz += ".gz";
    const std::filesystem::path plain = work / "Monitor.mdb";
    if (std::filesystem::exists(packaged)) {
        std::filesystem::copy_file(packaged, plain);
    } else if (std::filesystem::exists(gz)) {
        if (run("gzip -dc " + shellQuote(gz.string()) + " > " + shellQuote(plain.string())).exitCode != 0)
            return std::string("cannot decompress Monitor.mdb.gz");
    } else {
        return std::string("the package no longer ships ") + kInPackage;
    }
    std::filesystem::create_directories(cache);
    const std::filesystem::path part = cache / ("Monitor.mdb." + work.path().filename().string());
    std::filesystem::copy_file(plain, part);
    std::filesystem::rename(part, kept);
    return kept;
}

class ForeignJetFile : public ::testing::Test {
protected:
    void SetUp() override {
        const auto found = monitorDatabase();
        if (const auto* reason = std::get_if<std::string>(&found)) GTEST_SKIP() << *reason;
        file = std::get<std::filesystem::path>(found);
    }

    std::filesystem::path file;
};

TEST_F(ForeignJetFile, MonitorDatabaseReadsAsMdbExportReadsIt) {
    if (!onPath("mdb-export")) GTEST_SKIP() << "mdb-export (Debian package mdbtools) is not on PATH";
    Reader reader(file);
    EXPECT_EQ(reader.jetVersion(), 4);
    EXPECT_EQ(reader.tableNames(), std::vector<std::string>{"Monitor_Authenticate"});
    const Reader::Table table = reader.readTable("Monitor_Authenticate");
    ASSERT_EQ(table.columns.size(), 12u);
    EXPECT_EQ(table.columns.front(), "ID");
    EXPECT_EQ(table.columns.back(), "Comment");
    ASSERT_FALSE(table.rows.empty());

    // The reader writes dates as yyyy/mm/dd hh:mm:ss; ask mdb-export for the same.
    const auto exported = exportedTable(file, "Monitor_Authenticate", "-T '%Y/%m/%d %H:%M:%S' -D '%Y/%m/%d'");
    EXPECT_EQ(exported, asExported(table));
    EXPECT_EQ(table.rows[0][4], "nobody@sunnyline.co.za");
    EXPECT_EQ(table.rows[0][10], "2000/06/17 20:36:24");
}

// Access keeps design properties of each object in a blob ("MR2" followed by
// length-prefixed chunks). Claiming a huge first chunk makes libmdb's own
// catalog reader (and so mdb-tables) crash; the reader never decodes them.
TEST_F(ForeignJetFile, DamagedObjectPropertiesDoNotStopTheRead) {
    std::vector<char> bytes = readBytes(file);
    static constexpr char kMagic[] = {'M', 'R', '2', '\0'};
    int damaged = 0;
    for (auto at = std::search(bytes.begin(), bytes.end(), std::begin(kMagic), std::end(kMagic)); at != bytes.end();
         at = std::search(at + 1, bytes.end(), std::begin(kMagic), std::end(kMagic))) {
        if (bytes.end() - at > 8) {
            at[6] = static_cast<char>(0xff);
            ++damaged;
        }
    }
    ASSERT_GT(damaged, 0);
    TempDir dir;
    writeBytes(dir / "damaged.mdb", bytes);

    const Reader::Table intact = Reader(file).readTable("Monitor_Authenticate");
    Reader reader(dir / "damaged.mdb");
    EXPECT_EQ(reader.tableNames(), std::vector<std::string>{"Monitor_Authenticate"});
    EXPECT_EQ(reader.readTable("Monitor_Authenticate").rows, intact.rows);
}

}  // namespace
}  // namespace jet::testing
