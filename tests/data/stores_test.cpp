// The typed reads and writes windows call in place of SQL text: the one
// count helper, the main window's count checks and the punch store.
#include <gtest/gtest.h>

#include "data/DB_Acs.h"
#include "data/punches.h"
#include "data/queries.h"
#include "fixture.h"
#include "rtl/errors.h"

namespace data::testing {
namespace {

using Stores = WorkFolder;

TEST_F(Stores, CountHelperBindsValuesAndLeavesTheQueryClosedAlsoOnFailure) {
    exec("INSERT INTO sum_tran(S_DATE, S_TANCOD) VALUES ('14/07', 1), ('14/07', 2), ('14-2', 1)");
    EXPECT_EQ(countRows(dm->QueryCnt, {"SELECT COUNT(*) FROM sum_tran", "WHERE S_DATE = ?"}, {"14/07"}), 2);
    EXPECT_EQ(countRows(dm->QueryCnt, {"SELECT COUNT(*) FROM sum_tran", "WHERE S_DATE = :k"},
                        {db::Param("k", db::Value("14-2"))}),
              1);
    EXPECT_FALSE(dm->QueryCnt.active());
    EXPECT_TRUE(dm->QueryCnt.params().empty());
    EXPECT_ANY_THROW(countRows(dm->QueryCnt, {"SELECT COUNT(*) FROM no_such_table"}));
    EXPECT_FALSE(dm->QueryCnt.active());
}

TEST_F(Stores, MainWindowCountsTakeTheKeyAsABoundValue) {
    exec("INSERT INTO sum_tran(S_DATE, S_TANCOD) VALUES ('14/07', 1), ('14/08', 1)");
    exec("INSERT INTO minus_dat(M_No, M_DATE, M_TANCOD) VALUES (1, '14/07', 1)");
    EXPECT_EQ(countPayRecords(*dm, "14/07"), 1);
    EXPECT_EQ(countPaySlipRows(*dm, "14/08"), 1);
    EXPECT_EQ(countDeductionSlips(*dm, "14/07"), 1);
    // A key typed with a quote is a value like any other, never SQL.
    EXPECT_EQ(countPayRecords(*dm, "14' OR '1'='1"), 0);
    EXPECT_EQ(countWorkRecords(*dm, "2014/07/01", "2014/07/31"), 0);
}

TEST_F(Stores, PunchStoreCountsListsAndDeletes) {
    exec(
        "INSERT INTO タイムカード(月, 日, IDコード, 入退) VALUES "
        "('07', '01', '000001', '0'), ('07', '01', '000001', '1'), ('08', '02', '000002', '0'), "
        "('09', '03', '000001', '0')");
    EXPECT_EQ(countPunches(*dm), 4);
    EXPECT_EQ(countPunchesOutside(*dm, "07", "08"), 1);
    EXPECT_EQ(countPunchesOf(*dm, "000001", "07", "01", "1"), 1);
    EXPECT_EQ(countPunchesOf(*dm, "000001", "07", "01", "2"), 0);

    openPunchList(*dm, std::string("000001"));
    EXPECT_EQ(dm->TimeCardInp.recordCount(), 3);
    openPunchList(*dm, std::nullopt);
    EXPECT_EQ(dm->TimeCardInp.recordCount(), 4);
    dm->TimeCardInp.close();

    deleteAllPunches(*dm);
    EXPECT_EQ(countPunches(*dm), 0);
}

TEST(DataModuleGetter, TheGivenModuleElseTheProgramsElseAnError) {
    ASSERT_EQ(DataModule1, nullptr);
    try {
        dataModule();
        ADD_FAILURE() << "no error without a data module";
    } catch (const rtl::Error& e) {
        EXPECT_STREQ(e.what(), "データモジュールがありません。");
    }
    TDataModule1 own;
    EXPECT_EQ(&dataModule(&own), &own);
    TDataModule1* program = createDataModule1();
    EXPECT_EQ(&dataModule(), program);
    EXPECT_EQ(&dataModule(&own), &own);
    destroyDataModule1();
}

}  // namespace
}  // namespace data::testing
