#include <gtest/gtest.h>

#include "rtl/errors.h"
#include "sheet/cellref.h"

namespace {

struct ColumnCase {
    const char* letters;
    int index;
};

void PrintTo(const ColumnCase& c, std::ostream* os) { *os << c.letters; }

class ColumnNames : public ::testing::TestWithParam<ColumnCase> {};

TEST_P(ColumnNames, LettersAndIndexAgree) {
    EXPECT_EQ(sheet::columnIndex(GetParam().letters), GetParam().index);
    EXPECT_EQ(sheet::columnName(GetParam().index), GetParam().letters);
}

INSTANTIATE_TEST_SUITE_P(Columns, ColumnNames,
                         ::testing::Values(ColumnCase{"A", 1}, ColumnCase{"Z", 26}, ColumnCase{"AA", 27},
                                           ColumnCase{"AZ", 52}, ColumnCase{"BA", 53}, ColumnCase{"BI", 61},
                                           ColumnCase{"ZZ", 702}, ColumnCase{"AAA", 703}, ColumnCase{"XFD", 16384}),
                         [](const auto& info) { return std::string(info.param.letters); });

TEST(CellAddress, ParsesAbsoluteAndRelative) {
    EXPECT_EQ(sheet::parseCell("BE14"), (sheet::CellRef{57, 14}));
    EXPECT_EQ(sheet::parseCell("$A$5"), (sheet::CellRef{1, 5}));
    EXPECT_EQ(sheet::parseCell("ag5"), (sheet::CellRef{33, 5}));
    EXPECT_EQ(sheet::cellName({61, 43}), "BI43");
}

TEST(CellAddress, RefusesWhatIsNoSingleCell) {
    for (const char* bad : {"", "A", "5", "A0", "A05", "5A", "A1:B2", "XFE1", "A1048577", "A-1", "Ａ1"})
        EXPECT_THROW(sheet::parseCell(bad), rtl::AutomationError) << bad;
    EXPECT_THROW(sheet::columnName(0), rtl::AutomationError);
    EXPECT_THROW(sheet::columnName(16385), rtl::AutomationError);
}

}  // namespace
