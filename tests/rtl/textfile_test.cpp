// Text files: UTF-8 or CP932 reading, line ends, safe writing.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "rtl/errors.h"
#include "rtl/textfile.h"

using namespace rtl;
namespace fs = std::filesystem;

namespace {

class TextFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("rtl_textfile_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
    }
    void TearDown() override { fs::remove_all(dir_); }

    fs::path write(const std::string& name, const std::string& bytes) {
        const fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p;
    }
    static std::string bytesOf(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    fs::path dir_;
};

// "山田,ｱｲｳ,～①" in CP932 and the same in UTF-8.
const std::string kCp932 = "\x8e\x52\x93\x63,\xb1\xb2\xb3,\x81\x60\x87\x40";
const std::string kUtf8 = "山田,ｱｲｳ,～①";

}  // namespace

TEST(Cp932, DecodesTheWindowsCodePage) {
    struct Case {
        std::string cp932;
        std::string utf8;
    } cases[] = {
        {kCp932, kUtf8},
        {"abc\\~", "abc\\~"},
        {"\x82\xa0\x83\x41", "あア"},
        {"\x81\x40", "\xE3\x80\x80"},  // full-width space
        {"\x88\x9f", "亜"},
        {"\x87\x82", "№"},         // NEC row 13
        {"\xed\x40", "纊"},        // NEC-selected IBM extension
        {"\x82", "\xEF\xBF\xBD"},  // a lead byte cut off at the end
        {"\x82\x20"
         "a",
         "\xEF\xBF\xBD a"},  // bad trail byte: the next character survives
    };
    for (const auto& c : cases) EXPECT_EQ(cp932ToUtf8(c.cp932), c.utf8) << c.utf8;
    EXPECT_EQ(utf8ToCp932(kUtf8), kCp932);
    EXPECT_EQ(utf8ToCp932("a\xF0\x9F\x98\x80"
                          "b"),
              "a?b");  // not in CP932
}

TEST(DecodeText, Utf8WhenValidElseCp932) {
    TextEncoding enc;
    EXPECT_EQ(decodeText(kUtf8, &enc), kUtf8);
    EXPECT_EQ(enc, TextEncoding::Utf8);
    EXPECT_EQ(decodeText("\xEF\xBB\xBF" + kUtf8, &enc), kUtf8);
    EXPECT_EQ(enc, TextEncoding::Utf8);
    EXPECT_EQ(decodeText(kCp932, &enc), kUtf8);
    EXPECT_EQ(enc, TextEncoding::Cp932);
    EXPECT_EQ(decodeText("plain ascii", &enc), "plain ascii");
    EXPECT_EQ(enc, TextEncoding::Utf8);
}

// UTF-16 code units as bytes, in either byte order, after the byte-order mark.
std::string utf16Bytes(std::u16string_view text, bool bigEndian) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char16_t u : text) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        out += bigEndian ? std::string{hi, lo} : std::string{lo, hi};
    }
    return out;
}

TEST(DecodeText, Utf16AfterItsByteOrderMark) {
    // Japanese text, a character outside the basic plane (a surrogate pair)
    // and line ends, as a spreadsheet's "Unicode text" export writes them.
    const std::u16string text = u"社員,出勤\r\n\U0001F600,08:00\r\n";
    const std::string utf8 = "社員,出勤\r\n\xF0\x9F\x98\x80,08:00\r\n";
    for (bool bigEndian : {false, true}) {
        SCOPED_TRACE(bigEndian ? "big endian" : "little endian");
        TextEncoding enc = TextEncoding::Utf8;
        EXPECT_EQ(decodeText(utf16Bytes(text, bigEndian), &enc), utf8);
        EXPECT_EQ(enc, TextEncoding::Utf16);
        // A lone surrogate and an odd last byte do not lose what follows them.
        EXPECT_EQ(decodeText(utf16Bytes(std::u16string(u"a") + char16_t(0xD800) + u"b", bigEndian) + "x"),
                  "a\xEF\xBF\xBD"
                  "b\xEF\xBF\xBD");
    }
    // Only the mark decides: the same bytes without it are not UTF-16.
    EXPECT_NE(decodeText(utf16Bytes(u"ab", false).substr(2)), "ab");
    EXPECT_EQ(decodeText("\xFF\xFE"), "");
}

TEST(SplitLines, AllLineEnds) {
    using Lines = std::vector<std::string>;
    struct Case {
        std::string text;
        Lines lines;
    } cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\nb", {"a", "b"}},
        {"a\rb\r", {"a", "b"}},
        {"a\r\n\r\nb", {"a", "", "b"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"a\r\r\n", {"a", ""}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(splitLines(c.text), c.lines);
        const std::vector<std::string_view> views = splitLineViews(c.text);
        EXPECT_EQ(Lines(views.begin(), views.end()), c.lines);
    }
}

TEST_F(TextFileTest, ReadsCp932AndUtf8Files) {
    const fs::path sjis = write("zalt.csv", kCp932 + "\r\n2,x\r\n");
    const fs::path utf8 = write("utf8.txt", "\xEF\xBB\xBF" + kUtf8 + "\n2,x");
    TextEncoding enc;
    EXPECT_EQ(readTextFile(sjis, &enc), kUtf8 + "\r\n2,x\r\n");
    EXPECT_EQ(enc, TextEncoding::Cp932);
    EXPECT_EQ(readAllLines(sjis), (std::vector<std::string>{kUtf8, "2,x"}));
    EXPECT_EQ(readAllLines(utf8), (std::vector<std::string>{kUtf8, "2,x"}));
    EXPECT_EQ(readFirstLine(sjis), kUtf8);
    EXPECT_EQ(readLines(sjis, 1), (std::vector<std::string>{kUtf8}));
    EXPECT_EQ(readLines(sjis, 5).size(), 2u);
    EXPECT_EQ(readFirstLine(write("empty.txt", "")), "");
    EXPECT_EQ(readFirstLine(write("ini", "C:\\data\\Wendrasol.mdb")), "C:\\data\\Wendrasol.mdb");
}

TEST_F(TextFileTest, MissingFileRaisesFileErrorNamingIt) {
    const fs::path missing = dir_ / "Quendar.ini";
    try {
        readFirstLine(missing);
        ADD_FAILURE();
    } catch (const FileError& e) {
        EXPECT_EQ(std::string(e.what()), "ファイル '" + missing.string() + "' を開けません");
        EXPECT_EQ(e.path(), missing.string());
    }
    EXPECT_THROW(readTextFile(dir_), FileError);  // a folder is no text file
}

TEST_F(TextFileTest, WritesUtf8WithCrLfAndReplacesTheFile) {
    const fs::path p = dir_ / "Tenbiki.csv";
    writeLines(p, {"No,項目,金額", "1,\"互助 会\",1500"});
    EXPECT_EQ(bytesOf(p), "No,項目,金額\r\n1,\"互助 会\",1500\r\n");
    writeTextFile(p, "1");
    EXPECT_EQ(bytesOf(p), "1");
    EXPECT_FALSE(fs::exists(dir_ / "Tenbiki.csv.tmp~"));
    writeLines(p, {});
    EXPECT_EQ(bytesOf(p), "");
}

TEST_F(TextFileTest, FailedWriteRaisesAndKeepsNothingBehind) {
    const fs::path p = dir_ / "no" / "such" / "folder" / "x.txt";
    EXPECT_THROW(writeTextFile(p, "x"), FileError);
    // A directory in the way of the rename: the old content (none) stays.
    const fs::path blocked = dir_ / "blocked";
    fs::create_directories(blocked / "inner");
    EXPECT_THROW(writeTextFile(blocked, "x"), FileError);
    EXPECT_TRUE(fs::is_directory(blocked));
    EXPECT_FALSE(fs::exists(dir_ / "blocked.tmp~"));
}
