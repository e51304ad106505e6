// The deduction slip's table work and its item list, without the window.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "fixture.h"
#include "payrecord/actions.h"
#include "payrecord/slip.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"

namespace payrecord {
namespace {

class Slips : public testing::PayFolder {
protected:
    void SetUp() override {
        PayFolder::SetUp();
        employee(7, "01");
        c().execute("UPDATE emp_tanka SET E_NAME = '佐藤花子' WHERE E_NO = 7");
    }
    void slip(int no, const char* key, const char* total, const char* transfer) {
        c().execute(
            std::string("INSERT INTO minus_dat (M_No, M_TANCOD, M_DATE, M_GKING, M_FURI_KG) VALUES (?, 7, ?, ") +
                total + ", " + transfer + ")",
            {no, key});
    }
};

TEST_F(Slips, EmptySlipsGoAndNumbersFollowTheHighest) {
    slip(1, "26/03", "0", "0");
    slip(2, "26/03", "NULL", "NULL");
    slip(5, "26/04", "3000", "197000");
    slip(6, "26/02", "0", "5");  // only one of them 0: kept
    deleteEmptySlips(c());
    EXPECT_EQ(c().scalar("SELECT COUNT(*) FROM minus_dat").integer(), 2);
    EXPECT_EQ(highestSlipNo(c()), 6);
    EXPECT_EQ(countSlips(c(), "26/04", 7), 1);
    EXPECT_EQ(countSlips(c(), "26/04", 8), 0);
}

TEST_F(Slips, NewSlipTakesThePayRecordAndAWeeklyKeyWhole) {
    slip(1, "26/03", "1", "1");
    slip(2, "26/03", "1", "1");
    slip(5, "26/03", "1", "1");
    showSlip(dm->minus_dat, "26/04/12", 7);
    ASSERT_TRUE(dm->minus_dat.isEmpty());
    SlipOrigin o{"26/04/12", 7, 3, true, 200000, true};
    startSlip(c(), dm->minus_dat, o);
    EXPECT_EQ(dm->minus_dat.state(), db::DatasetState::Insert);  // not posted
    dm->minus_dat.fieldByName("M_KING_0").setAsInteger(3000);
    dm->minus_dat.fieldByName("M_KING_1").setAsInteger(-500);
    updateSlipTotals(dm->minus_dat);
    dm->minus_dat.post();
    const db::ResultSet rs = c().select(
        "SELECT M_No, M_DATE, M_TANMEI, M_SEQNO, M_KYUYO, M_GKING, M_FURI_KG, M_DATNO_9 FROM minus_dat "
        "WHERE M_TANCOD = 7 AND M_DATE = '26/04/12'");
    ASSERT_EQ(rs.rows.size(), 1u);
    const auto& r = rs.rows[0];
    EXPECT_EQ(r[0].integer(), 6);
    EXPECT_EQ(r[1].text(), "26/04/12");
    EXPECT_EQ(r[2].text(), "佐藤花子");
    EXPECT_EQ(r[3].integer(), 3);
    EXPECT_EQ(r[4].integer(), 200000);
    EXPECT_EQ(r[5].integer(), 2500);
    EXPECT_EQ(r[6].integer(), 197500);
    EXPECT_EQ(r[7].integer(), 10);
}

TEST_F(Slips, NoNewSlipPastTheLastNumber) {
    slip(32767, "26/03", "1", "1");
    showSlip(dm->minus_dat, "26/04", 7);
    EXPECT_THROW(startSlip(c(), dm->minus_dat, SlipOrigin{"26/04", 7}), RecordError);
    EXPECT_EQ(dm->minus_dat.state(), db::DatasetState::Browse);
    EXPECT_EQ(countSlips(c(), "26/04", 7), 0);
}

TEST_F(Slips, ItemListRoundTripSkipsEmptyRows) {
    const auto file = dir / TenbikiFile;
    ItemGrid grid = {{"No", "差引項目", "差引金額"}, {"", "社宅 家賃", "30000"}, {"", "", ""}, {"", "親睦会費", "500"}};
    renumberItems(grid);
    EXPECT_EQ(grid[1][0], "1");
    EXPECT_EQ(grid[3][0], "");  // numbering stops at the first empty name
    EXPECT_EQ(writeItems(file, grid), 3);
    const ItemGrid back = readItems(file);
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[1][1], "社宅 家賃");  // the blank survives in quotes
    EXPECT_EQ(back[2][1], "親睦会費");
    rtl::TextEncoding enc{};
    EXPECT_EQ(rtl::readTextFile(file, &enc), "No,差引項目,差引金額\r\n1,\"社宅 家賃\",30000\r\n,親睦会費,500\r\n");
    EXPECT_EQ(enc, rtl::TextEncoding::Utf8);
}

TEST_F(Slips, ItemListReadsCp932AndStopsAtAShortLine) {
    const auto file = dir / TenbikiFile;
    {
        std::ofstream out(file, std::ios::binary);
        out << rtl::utf8ToCp932("No,差引項目,差引金額\r\n1,組合費,1000\r\n2,社宅 家賃,30000\r\n\r\n3,x,1\r\n");
    }
    ItemGrid partial;
    EXPECT_THROW(readItems(file, &partial), rtl::ListIndexError);
    ASSERT_EQ(partial.size(), 3u);
    EXPECT_EQ(partial[1][1], "組合費");
    // An unquoted blank splits the name (the amount cell is then "家賃").
    EXPECT_EQ(partial[2][1], "社宅");
}

}  // namespace
}  // namespace payrecord
