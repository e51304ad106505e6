// Files that are missing, not Jet databases, cut short or damaged: the
// reader reports them with jet::Error (naming the file) and never crashes or
// passes part of a table off as the whole.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>
#include <cstdio>
#include <functional>
#include <random>

#include "support.h"

namespace jet::testing {
namespace {

constexpr std::size_t kPage = 4096;

using Image = std::vector<char>;

std::uint16_t get16(const Image& b, std::size_t at) {
    return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) | static_cast<unsigned char>(b[at + 1]) << 8);
}
void set16(Image& b, std::size_t at, std::uint16_t v) {
    b[at] = static_cast<char>(v & 0xff);
    b[at + 1] = static_cast<char>(v >> 8);
}
void set32(Image& b, std::size_t at, std::uint32_t v) {
    set16(b, at, static_cast<std::uint16_t>(v));
    set16(b, at + 2, static_cast<std::uint16_t>(v >> 16));
}
std::uint32_t get32(const Image& b, std::size_t at) { return get16(b, at) | std::uint32_t{get16(b, at + 2)} << 16; }

// Pages of one kind (1 data, 2 table definition), optionally owned by a table.
std::vector<std::size_t> pages(const Image& b, char type, std::optional<std::uint32_t> owner = {}) {
    std::vector<std::size_t> out;
    for (std::size_t p = 1; p * kPage < b.size(); ++p)
        if (b[p * kPage] == type && (!owner || get32(b, p * kPage + 4) == *owner)) out.push_back(p);
    return out;
}

// The definition page of the first user table and the last data page of the last one.
std::size_t firstUserDefinition(const Image& b) { return pages(b, 2).at(1); }
std::size_t lastUserDataPage(const Image& b) {
    const auto defs = pages(b, 2);
    return pages(b, 1, static_cast<std::uint32_t>(defs.back())).back();
}

void wipe(Image& b, std::size_t page) { std::fill(b.begin() + page * kPage, b.begin() + (page + 1) * kPage, '\0'); }

// Opens the file and reads every table, as the database copy does.
void readEverything(const std::filesystem::path& file) {
    Reader reader(file);
    for (const auto& name : reader.tableNames()) reader.readTable(name);
    for (const auto& t : recorderTables()) reader.readTable(t.name);
}

// libmdb reports trouble on stderr as it goes; keep it out of the test log.
class QuietStderr {
public:
    QuietStderr() : saved_(dup(STDERR_FILENO)) {
        std::fflush(stderr);
        const int null = open("/dev/null", O_WRONLY);
        if (null >= 0) {
            dup2(null, STDERR_FILENO);
            close(null);
        }
    }
    ~QuietStderr() {
        std::fflush(stderr);
        if (saved_ >= 0) {
            dup2(saved_, STDERR_FILENO);
            close(saved_);
        }
    }

private:
    int saved_;
};

struct Damage {
    const char* name;
    std::function<void(Image&)> apply;
};
void PrintTo(const Damage& d, std::ostream* os) { *os << d.name; }

class DamagedFile : public ::testing::TestWithParam<Damage> {};

TEST_P(DamagedFile, IsAnErrorNamingTheFile) {
    TempDir dir;
    const auto file = dir / "recorder.mdb";
    Image image;
    {
        const auto bytes = jet4Image(recorderTables());
        image.assign(bytes.begin(), bytes.end());
    }
    GetParam().apply(image);
    writeBytes(file, image);

    QuietStderr quiet;
    try {
        readEverything(file);
        ADD_FAILURE() << "read without an error";
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("「" + file.string() + "」"), std::string::npos) << e.what();
    }
}

const Damage kDamages[] = {
    {"EmptyFile", [](Image& b) { b.clear(); }},
    {"NotADatabase",
     [](Image& b) {
         b.assign({'I', 'D', ',', '0', '7', '\n'});
     }},
    {"HeaderOnly", [](Image& b) { b.resize(kPage); }},
    {"CutInsideAPage", [](Image& b) { b.resize(b.size() - 100); }},
    {"LastPageMissing", [](Image& b) { b.resize(b.size() - kPage); }},
    {"UnknownVersion", [](Image& b) { b[0x14] = 0x20; }},
    {"CatalogDefinitionWiped", [](Image& b) { wipe(b, 2); }},
    {"CatalogRowsWiped", [](Image& b) { wipe(b, pages(b, 1, 2).front()); }},
    {"TableDefinitionWiped", [](Image& b) { wipe(b, firstUserDefinition(b)); }},
    {"TableClaimsTooManyColumns",
     [](Image& b) {
         const std::size_t at = firstUserDefinition(b) * kPage;
         set16(b, at + 45, 5000);
         set16(b, at + 41, 5000);
     }},
    {"DataPageWiped", [](Image& b) { wipe(b, lastUserDataPage(b)); }},
    {"RowOffsetOutsideThePage", [](Image& b) { set16(b, lastUserDataPage(b) * kPage + 14, 0x1fff); }},
    {"RowClaimsTooManyColumns",
     [](Image& b) {
         const std::size_t page = lastUserDataPage(b) * kPage;
         set16(b, page + (get16(b, page + 14) & 0x1fff), 0xffff);
     }},
    {"UsageMapPointsPastTheEnd", [](Image& b) { set32(b, firstUserDefinition(b) * kPage + 55, 200u << 8); }},
    // A usage map row that its page does not have: libmdb scans from
    // wherever that leads and crashes.
    {"UsageMapRowMissing", [](Image& b) { b[firstUserDefinition(b) * kPage + 55] = static_cast<char>(0xa1); }},
    {"CatalogUsageMapRowMissing", [](Image& b) { b[2 * kPage + 55] = static_cast<char>(0xa1); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, DamagedFile, ::testing::ValuesIn(kDamages),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(JetReaderErrors, MissingFileIsNamed) {
    TempDir dir;
    const auto file = dir / "無い.mdb";
    try {
        Reader reader(file);
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル「" + file.string() + "」が見つかりません。");
    }
}

TEST(JetReaderErrors, FolderIsNotADatabase) {
    TempDir dir;
    EXPECT_THROW(Reader reader(dir.path()), Error);
}

// Random damage after the header, anywhere or in the page headers and table
// definitions where libmdb takes most on trust: whatever libmdb makes of it,
// the reader either reads the file or throws jet::Error.
class RandomDamage : public ::testing::TestWithParam<bool> {};

TEST_P(RandomDamage, NeverCrashes) {
    const bool jet3 = GetParam();
    const std::size_t pageSize = jet3 ? 2048 : 4096;
    TempDir dir;
    const auto file = dir / "damaged.mdb";
    const auto valid = jet3 ? jet3Image(recorderTables()) : jet4Image(recorderTables(), TextStorage::Compressed);
    std::mt19937 random(20240401);
    int refused = 0;
    QuietStderr quiet;
    for (int round = 0; round < 3000; ++round) {
        Image image(valid.begin(), valid.end());
        std::uniform_int_distribution<std::size_t> position(0x20, image.size() - 1);
        const int hits = 1 + static_cast<int>(random() % 12);
        for (int i = 0; i < hits; ++i) {
            std::size_t at = position(random);
            const std::size_t page = at / pageSize * pageSize;
            if (round % 2 == 1 && image[page] != 0x02) at = page + random() % 64;
            image[at] = static_cast<char>(random() % 3 == 0 ? 0xff : random() & 0xff);
        }
        writeBytes(file, image);
        try {
            readEverything(file);
        } catch (const Error&) {
            ++refused;
        } catch (const std::exception& e) {
            ADD_FAILURE() << "round " << round << ": " << e.what();
        }
    }
    RecordProperty("refused", refused);
}

INSTANTIATE_TEST_SUITE_P(Format, RandomDamage, ::testing::Bool(),
                         [](const auto& info) { return info.param ? "Jet3" : "Jet4"; });

}  // namespace
}  // namespace jet::testing
