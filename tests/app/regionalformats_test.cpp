#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <vector>

#include "app/regionalformats.h"

using namespace app;

namespace {

// Passes everything to a file store and records what was written or removed.
class RecordingStore : public RegionalStore {
public:
    explicit RecordingStore(std::string path) : file(std::move(path)) {}
    bool open(bool create) override { return !failOpen && file.open(create); }
    void close() override { file.close(); }
    std::optional<std::string> read(const std::string& name) override { return file.read(name); }
    bool write(const std::string& name, const std::string& value) override {
        log.push_back("write " + name + "=" + value);
        return file.write(name, value);
    }
    bool remove(const std::string& name) override {
        log.push_back("remove " + name);
        return file.remove(name);
    }
    FileRegionalStore file;
    bool failOpen = false;
    std::vector<std::string> log;
};

class RegionalFormats : public ::testing::Test {
protected:
    std::string path() const { return (dir.path() + "/cfg/International.conf").toStdString(); }
    void seed(const char* text) {
        FileRegionalStore s(path());
        ASSERT_TRUE(s.open(true));
        s.close();
        QFile f(QString::fromStdString(path()));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    std::optional<std::string> value(const char* name) const {
        FileRegionalStore s(path());
        if (!s.open(false)) return std::nullopt;
        return s.read(name);
    }
    QTemporaryDir dir;
};

}  // namespace

TEST_F(RegionalFormats, UserFormatsAreSavedForcedAndRestored) {
    seed("sShortDate=yyyy/MM/dd\nsTimeFormat=H:mm:ss\nsShortTime=H:mm\niCountry=81\n");
    RecordingStore store(path());

    const SavedFormats saved = saveAndForceFormats(store);
    EXPECT_EQ(saved, (SavedFormats{"yyyy/MM/dd", "H:mm:ss", "H:mm"}));
    EXPECT_EQ(value("sShortDate"), "yy/MM/dd");
    EXPECT_EQ(value("sTimeFormat"), "HH:mm:ss");
    EXPECT_EQ(value("sShortTime"), "HH:mm");

    restoreFormats(store, saved);
    EXPECT_EQ(value("sShortDate"), "yyyy/MM/dd");
    EXPECT_EQ(value("sTimeFormat"), "H:mm:ss");
    EXPECT_EQ(value("sShortTime"), "H:mm");
    EXPECT_EQ(value("iCountry"), "81");  // other values of the key are left alone
}

TEST_F(RegionalFormats, ValuesAlreadyForcedAreNeverWritten) {
    seed("sShortDate=yy/MM/dd\nsTimeFormat=HH:mm:ss\nsShortTime=HH:mm\n");
    RecordingStore store(path());
    const SavedFormats saved = saveAndForceFormats(store);
    restoreFormats(store, saved);
    EXPECT_TRUE(store.log.empty());
}

TEST_F(RegionalFormats, OnlyTheDifferingValueIsForcedAndRestored) {
    seed("sShortDate=YY/MM/DD\nsTimeFormat=HH:mm:ss\nsShortTime=HH:mm\n");  // case counts
    RecordingStore store(path());
    const SavedFormats saved = saveAndForceFormats(store);
    EXPECT_EQ(store.log, (std::vector<std::string>{"write sShortDate=yy/MM/dd"}));
    restoreFormats(store, saved);
    EXPECT_EQ(store.log.back(), "write sShortDate=YY/MM/DD");
    EXPECT_EQ(store.log.size(), 2u);
}

TEST_F(RegionalFormats, MissingKeyIsCreatedAndMissingValuesAreRemovedAgain) {
    RecordingStore store(path());
    const SavedFormats saved = saveAndForceFormats(store);
    EXPECT_EQ(saved, SavedFormats{});
    EXPECT_EQ(value("sShortDate"), "yy/MM/dd");

    restoreFormats(store, saved);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(path())));
    EXPECT_EQ(value("sShortDate"), std::nullopt);
    EXPECT_EQ(value("sTimeFormat"), std::nullopt);
    EXPECT_EQ(value("sShortTime"), std::nullopt);
}

TEST_F(RegionalFormats, KeyThatCannotBeOpenedIsSkippedSilently) {
    RecordingStore store(path());
    store.failOpen = true;
    const SavedFormats saved = saveAndForceFormats(store);
    restoreFormats(store, saved);
    EXPECT_TRUE(store.log.empty());
    EXPECT_FALSE(QFile::exists(QString::fromStdString(path())));
}

TEST_F(RegionalFormats, KeyFileLinesAreTrimmedAndLinesWithoutANameSkipped) {
    seed("  sShortDate=yyyy/MM/dd \r\n=orphan\r\nnot a value\r\n\r\nsShortTime=H:mm");
    EXPECT_EQ(value("sShortDate"), "yyyy/MM/dd");
    EXPECT_EQ(value("sShortTime"), "H:mm");
    EXPECT_EQ(value(""), std::nullopt);

    // Writing keeps the other values, one "name=value" line each.
    FileRegionalStore s(path());
    ASSERT_TRUE(s.open(false));
    ASSERT_TRUE(s.write("sTimeFormat", "H:mm:ss"));
    s.close();
    QFile f(QString::fromStdString(path()));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("sShortDate=yyyy/MM/dd\nsShortTime=H:mm\nsTimeFormat=H:mm:ss\n"));
}
