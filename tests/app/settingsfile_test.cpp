#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "app/settingsfile.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"

using namespace app;

namespace {

class SettingsFile : public ::testing::Test {
protected:
    std::string work() const { return dir.path().toStdString(); }
    std::string file(const char* name) const { return work() + "/" + name; }
    QTemporaryDir dir;
    std::vector<std::string> created;
    std::function<void(const std::string&)> recordCreate = [this](const std::string& p) {
        created.push_back(p);
        rtl::writeTextFile(p, "db");
    };
};

}  // namespace

TEST_F(SettingsFile, FreshFolderGetsTheDatabaseAndASettingsFileNamingIt) {
    const std::string db = readOrCreateSettings(work(), recordCreate);
    EXPECT_EQ(db, file("Wendrasol.mdb"));
    EXPECT_EQ(created, std::vector<std::string>{file("Wendrasol.mdb")});
    EXPECT_EQ(rtl::readAllLines(file("Quendar.ini")), std::vector<std::string>{db});
    // The second start only reads it.
    EXPECT_EQ(readOrCreateSettings(work(), recordCreate), db);
    EXPECT_EQ(created.size(), 1u);
}

TEST_F(SettingsFile, ExistingDatabaseIsKeptWhenTheSettingsFileIsMissing) {
    rtl::writeTextFile(file("Wendrasol.mdb"), "old data");
    EXPECT_EQ(readOrCreateSettings(work(), recordCreate), file("Wendrasol.mdb"));
    EXPECT_TRUE(created.empty());
    EXPECT_EQ(rtl::readTextFile(file("Wendrasol.mdb")), "old data");
}

TEST_F(SettingsFile, NamedDatabaseIsReturnedAsItStandsAndNothingIsCreated) {
    rtl::writeLines(file("Quendar.ini"), {"/nowhere/Other.mdb", "second line"});
    EXPECT_EQ(readOrCreateSettings(work(), recordCreate), "/nowhere/Other.mdb");
    rtl::writeTextFile(file("Quendar.ini"), "");
    EXPECT_EQ(readOrCreateSettings(work(), recordCreate), "");
    EXPECT_TRUE(created.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(file("Wendrasol.mdb"))));
}

TEST_F(SettingsFile, OldSettingsFileInTheWindowsCodePageIsRead) {
    QFile f(QString::fromStdString(file("Quendar.ini")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(rtl::utf8ToCp932("/data/給与.mdb").c_str());
    f.write("\r\n");
    f.close();
    EXPECT_EQ(readOrCreateSettings(work(), recordCreate), "/data/給与.mdb");
}

TEST_F(SettingsFile, UnreadableSettingsFileIsReportedNotReplaced) {
    QDir(dir.path()).mkdir("Quendar.ini");  // a folder where the file should be
    EXPECT_THROW(readOrCreateSettings(work(), recordCreate), rtl::FileError);
    EXPECT_TRUE(created.empty());
}
