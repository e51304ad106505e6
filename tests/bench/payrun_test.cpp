// tallyra-bench generate and payrun end to end on five fixed employees, with
// the pay records worked out by hand below; and payrun on folders that hold
// no working database.
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <ostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "db/connection.h"
#include "rtl/datetime.h"

namespace fs = std::filesystem;

namespace {

struct Outcome {
    int code = -1;
    std::string out, err;
};

// Runs tallyra-bench with `args`, capturing both streams.
Outcome bench(const std::string& args, const fs::path& scratch) {
    const fs::path out = scratch / "stdout.txt", err = scratch / "stderr.txt";
    const std::string command =
        std::string("'") + TALLYRA_BENCH + "' " + args + " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int status = std::system(command.c_str());
    auto slurp = [](const fs::path& p) {
        std::ifstream f(p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(f), {});
    };
    Outcome o;
    o.code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    o.out = slurp(out);
    o.err = slurp(err);
    return o;
}

class BenchFolder : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tallyra-bench-test-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        root = pattern;
        scratch = root / "scratch";
        fs::create_directories(scratch);
        work = root / "work";
    }
    void TearDown() override { fs::remove_all(root); }

    // Every file below `dir`, as relative paths.
    static std::set<std::string> listing(const fs::path& dir) {
        std::set<std::string> names;
        for (const auto& e : fs::recursive_directory_iterator(dir)) names.insert(fs::relative(e.path(), dir).string());
        return names;
    }

    fs::path root, scratch, work;
};

// ---- the five employees' month, worked out by hand ---------------------------------
//
// Pay month July 2026, closing day 20: the period runs from Tue 21 July to
// Thu 20 August, 23 weekdays (working days 0..22). Every employee follows
// the same pattern around the shift of his category:
//   in 5 minutes before the shift and out 3 minutes after it      14 days
//   in 10 minutes late (days 10 and 3)                            2 days
//   out 30 minutes early (days 5, 14)                             2 days
//   out 62 minutes after the shift (days 2, 7, 12, 22)            4 days
//   late and 62 minutes over (day 17)                             1 day
// Categories: 01 day 09:00-18:00, break 12:00-13:00, unit 1 min, overtime
// 18:00-22:00 rounded to 15; 02 evening 17:00-23:00, unit 15, overtime
// 23:00-02:00, late night 22:00-05:00, all rounded to 15; 03 night
// 22:00-07:00, break 02:00-03:00, unit 30, overtime 07:00-10:00, late night
// 22:00-05:00, all rounded to 30. Units count the minutes less overtime and
// late night; a day's premium is its rounded minutes at the hourly rate,
// the month's the larger of the day sum and total minutes x rate / 60.
//
// Month totals ("金額計算"):
// 1 佐藤一郎, category 01, monthly 300,000, overtime 2,300/h, late and early 1,900/h,
//   transport 12,000 a month.
//   worked minutes less break less overtime: normal 543-60-3 = 480, late 470,
//   early 450, over 602-60-62 = 480, late+over 470:
//   units 14x480 + 2x470 + 2x450 + 4x480 + 470 = 10,950.
//   overtime 3 rounds to 0; 62 rounds to 60: 5 x 60 = 300 min, 5 x 2,300 = 11,500.
//   late 10 min x 3 days = 30, day amounts 3 x Trunc(10x1900/60 = 316.7) = 948,
//   month 30x1900/60 = 950. Early 2 x 30 = 60 min, 2 x 950 = 1,900.
// 2 鈴木花子, category 02, by the hour 1,200, overtime 1,500/h, night 300/h,
//   late and early 1,200/h, transport 400 a day.
//   normal: worked 363 (24 units, 06:00), night 63 -> 60, over 3 -> 0,
//     units Round((363-3-63)/15 = 19.8) = 20, base 20 x 300 = 6,000;
//   late: worked 353 (06:00), units Round(287/15) = 19, base 5,700, late 10 -> 15;
//   early: worked 330 (05:30), night 30, units 20, base 6,000, early 30;
//   over: worked 422 (07:00), over 62 -> 60, night 122 -> 120,
//     units Round(238/15) = 16, base 4,800;
//   late+over: worked 412 (06:45), units Round(228/15) = 15, base 4,500.
//   units 280+38+40+64+15 = 437; worked 5,040+720+660+1,680+405 = 8,505 min;
//   base 84,000+11,400+12,000+19,200+4,500 = 131,100 = 1,200/4 x 437;
//   night 14x60+2x60+2x30+4x120+120 = 1,620 min, 1,620x300/60 = 8,100;
//   overtime 300 min, 7,500; late 45 min, 900; early 60 min, 1,200;
//   transport 400 x 23 = 9,200.
// 3 高橋健太, category 03, by the day 14,000, overtime 2,200/h, night 440/h,
//   late and early 1,750/h, no transport.
//   normal: worked 543-60 = 483, night 420, units Round((543-3-420-60)/30) = 2;
//   late: night 410 -> 420, late 10 -> 0 (so no late day), units 2;
//   early: worked 510-60, night 420, units Round(30/30) = 1, early 30;
//   over and late+over: over 62 -> 60, units 2.
//   units 28+4+2+8+2 = 44; base 14,000 x 23 = 322,000;
//   night 23 x 420 = 9,660 min, 23 x 14 x 30 x 440 / 60 = 70,840;
//   overtime 300 min, 5 x 2,200 = 11,000; early 60 min, 2 x 875 = 1,750.
// 4 田中美咲, category 01, by the hour 1,100, overtime 1,375/h, no late or
//   early deduction, transport 300 a day.
//   units as employee 1: 10,950. Worked text minutes 14x483 + 2x473 + 2x450
//   + 4x542 + 532 = 11,308. Base by day: 480 units 8,800, 470 units
//   Round(8,616.67) = 8,617, 450 units 8,250: 14x8,800 + 3x8,617 + 2x8,250
//   + 4x8,800 = 200,751 > 1,100 x 10,950 / 60 = 200,750.
//   overtime 300 min, 6,875; transport 300 x 23 = 6,900.
// 5 伊藤誠, category 02, monthly 220,000, overtime 1,700/h, night 340/h,
//   late and early 1,375/h, transport 15,000 a month.
//   minutes as employee 2 (units 437; overtime 300, night 1,620, late 45,
//   early 60). Overtime 8,500; night 9,180; late: days 3 x Trunc(343.75) =
//   1,029 < 45x1375/60 = 1,031.25 -> 1,031; early: 2 x Trunc(687.5) = 1,374
//   < 1,375.
//
// "一括計算" then completes each record. Rates per mille: health 49.25, care
// 8.1 (ages 40 to 64), employment 5 (employer 8.5), pension 91.5; each
// amount Round(P x rate / 1000), halves to even, P = taxable gross G +
// transport; G = base + premiums + taxable allowances - late - early; tax
// from the monthly table on X = G - insurance; net = G + transport +
// non-taxable allowances - taxes - insurance - meal.
// "金額セット" sets every record fresh from the month totals (its allowances,
// deductions and meal are still empty): records 1 and 4 take their allowances
// and employee 3 the meal deduction of 3,000. Only a record set before, whose
// base and allowances 1, 3, 5 still match, is left alone (hand changes survive).
// 1 G = 300,000 + 11,500 + 10,000 - 950 - 1,900 = 318,650; P = 330,650:
//   health 16,284.5 -> 16,285, care 2,678.3 -> 2,678, employment 1,653.3 -> 1,653
//   (employer 2,810.5 -> 2,811), pension 30,254.5 -> 30,254; insurance 50,870;
//   X = 267,780: band 266,000-269,000, 2 dependants 3,520; resident 8,000;
//   net 318,650 + 12,000 - 3,520 - 8,000 - 50,870 = 268,260.
// 2 G = 131,100 + 7,500 + 8,100 - 900 - 1,200 = 144,600; P = 153,800:
//   health 7,574.7 -> 7,575, employment 769 (1,307.3 -> 1,307), pension 14,072.7
//   -> 14,073; insurance 22,417; X = 122,183: band 121,000-123,000, 990;
//   net 144,600 + 9,200 - 990 - 22,417 = 130,393.
// 3 G = 322,000 + 11,000 + 70,840 - 1,750 = 402,090 = P: health fixed 14,000
//   (aged 33: no care), employment 2,010.5 -> 2,010 (3,417.8 -> 3,418),
//   pension 36,791.2 -> 36,791; insurance 52,801; X = 349,289: band
//   347,000-350,000, 1 dependant 8,280; net 402,090 - 8,280 - 52,801 - 3,000
//   meal = 338,009.
// 4 G = 200,751 + 6,875 = 207,626 (allowance 7 is not taxable); P = 214,526:
//   employment 1,072.6 -> 1,073 (1,823.5 -> 1,823) only; X = 206,553: band
//   205,000-207,000, 4,550; net 207,626 + 6,900 + 5,000 - 4,550 - 1,073 = 213,903.
// 5 G = 220,000 + 8,500 + 9,180 - 1,031 - 1,375 = 235,274; P = 250,274 (aged
//   67: no care): health 12,326.0 -> 12,326, employment 1,251.4 -> 1,251
//   (2,127.3 -> 2,127), pension 22,900.1 -> 22,900; insurance 36,477;
//   X = 198,797: band 197,000-199,000, 乙 19,000; net 235,274 + 15,000
//   - 19,000 - 36,477 = 194,797.
struct Batch {
    long long allowance1, allowance7, meal;
    long long health, care, employment, pension, insurance;  // S_HOKEN, S_HOKENK, S_KOYOU, S_NENKIN, S_SHAHO
    long long employerHealth, employerCare, employerEmployment, employerPension;
    long long incomeTax, residentTax, gross, net;  // S_ZEI_G, S_ZEI_K, S_TOTALS, S_TOTALT
};

struct Expected {
    const char* name;
    long long employee, kinmu, units, transport, base;
    std::array<long long, 5> minutes;  // early start, overtime, late night, late, early departure
    std::array<long long, 5> amounts;
    long long lateDays;
    Batch batch;
};

void PrintTo(const Expected& e, std::ostream* os) { *os << e.name; }

const Expected kExpected[] = {
    {"Sato_DayShiftMonthly",
     1,
     0,
     10950,
     12000,
     300000,
     {0, 300, 0, 30, 60},
     {0, 11500, 0, 950, 1900},
     3,
     {10000, 0, 0, 16285, 2678, 1653, 30254, 50870, 16285, 2678, 2811, 30254, 3520, 8000, 321500, 268260}},
    {"Suzuki_EveningByHour",
     2,
     8505,
     437,
     9200,
     131100,
     {0, 300, 1620, 45, 60},
     {0, 7500, 8100, 900, 1200},
     3,
     {0, 0, 0, 7575, 0, 769, 14073, 22417, 7575, 0, 1307, 14073, 990, 0, 146700, 130393}},
    {"Takahashi_NightByDay",
     3,
     0,
     44,
     0,
     322000,
     {0, 300, 9660, 0, 60},
     {0, 11000, 70840, 0, 1750},
     0,
     {0, 0, 3000, 14000, 0, 2010, 36791, 52801, 14000, 0, 3418, 36791, 8280, 0, 403840, 338009}},
    {"Tanaka_DayShiftByHour",
     4,
     11308,
     10950,
     6900,
     200751,
     {0, 300, 0, 0, 0},
     {0, 6875, 0, 0, 0},
     0,
     {0, 5000, 0, 0, 0, 1073, 0, 1073, 0, 0, 1823, 0, 4550, 0, 212626, 213903}},
    {"Ito_EveningMonthly",
     5,
     0,
     437,
     15000,
     220000,
     {0, 300, 1620, 45, 60},
     {0, 8500, 9180, 1031, 1375},
     3,
     {0, 0, 0, 12326, 0, 1251, 22900, 36477, 12326, 0, 2127, 22900, 19000, 0, 237680, 194797}},
};

class FiveEmployees : public BenchFolder, public ::testing::WithParamInterface<Expected> {
protected:
    // One folder for all five cases: generating and running takes a while.
    static void SetUpTestSuite() {
        char pattern[] = "/tmp/tallyra-bench-five-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        suiteRoot = pattern;
        const fs::path dir = suiteRoot / "work";
        generated = bench("generate '" + dir.string() + "' --employees 5 --year 2026 --month 7", suiteRoot);
        ran = bench("payrun '" + dir.string() + "' --year 2026 --month 7 --csv '" + (dir / "punches.csv").string() +
                        "' --layout 1",
                    suiteRoot);
        db::Connection c((dir / "Wendrasol.mdb").string());
        records = c.select("SELECT * FROM sum_tran ORDER BY S_TANCOD");
        ages = c.select("SELECT E_NO, E_BARTH FROM emp_tanka ORDER BY E_NO");
        c.close();
    }
    static void TearDownTestSuite() { fs::remove_all(suiteRoot); }

    static const db::Value& cell(size_t row, const char* column) {
        for (size_t i = 0; i < records.columns.size(); ++i)
            if (records.columns[i] == column) return records.rows[row][i];
        throw std::runtime_error(std::string("no column ") + column);
    }
    static long long number(size_t row, const char* column) {
        const db::Value& v = cell(row, column);
        return v.isNull() ? -1 : static_cast<long long>(v.real());
    }

    static inline fs::path suiteRoot;
    static inline Outcome generated, ran;
    static inline db::ResultSet records, ages;
};

TEST_P(FiveEmployees, PayRecordMatchesTheHandWorkedMonth) {
    ASSERT_EQ(generated.code, 0) << generated.err;
    ASSERT_EQ(ran.code, 0) << ran.err;
    ASSERT_EQ(records.rows.size(), 5u);
    const Expected& e = GetParam();
    const size_t r = static_cast<size_t>(e.employee - 1);
    EXPECT_EQ(number(r, "S_TANCOD"), e.employee);
    EXPECT_EQ(cell(r, "S_DATE").toString(), "26/07");  // --month 7 is the key's "07"
    EXPECT_TRUE(cell(r, "S_SEQNO").isNull());
    EXPECT_EQ(number(r, "S_DAYS"), 23);
    EXPECT_EQ(number(r, "S_KINMU"), e.kinmu);
    EXPECT_EQ(number(r, "S_TANJI"), e.units);
    EXPECT_EQ(number(r, "S_KOTUHI"), e.transport);
    EXPECT_EQ(number(r, "S_BASKING"), e.base);
    const char* minuteColumns[5] = {"S_HAYZAN", "S_FUTZAN", "S_SINZAN", "S_TIKOKU", "S_SOUTAI"};
    const char* amountColumns[5] = {"S_HAYKING", "S_FUTKING", "S_SINKING", "S_TIKKING", "S_SOUKING"};
    for (int k = 0; k < 5; ++k) {
        EXPECT_EQ(number(r, minuteColumns[k]), e.minutes[k]) << minuteColumns[k];
        EXPECT_EQ(number(r, amountColumns[k]), e.amounts[k]) << amountColumns[k];
    }
    EXPECT_EQ(number(r, "S_KYUSYU"), 0);
    EXPECT_EQ(number(r, "S_KYUKING"), 0);
    EXPECT_EQ(number(r, "S_DAY5"), e.lateDays);
    EXPECT_EQ(number(r, "S_KNTKBN"), 1);

    const Batch& b = e.batch;
    const std::pair<const char*, long long> batch[] = {
        {"S_GKING1", b.allowance1},
        {"S_GKING7", b.allowance7},
        {"S_MEAT_K", b.meal},
        {"S_HOKEN", b.health},
        {"S_HOKENK", b.care},
        {"S_KOYOU", b.employment},
        {"S_NENKIN", b.pension},
        {"S_KIKIN", 0},
        {"S_SHAHO", b.insurance},
        {"S_HOKEN2", b.employerHealth},
        {"S_HOKENK2", b.employerCare},
        {"S_KOYOU2", b.employerEmployment},
        {"S_NENKIN2", b.employerPension},
        {"S_KIKIN2", 0},
        {"S_ZEI_G", b.incomeTax},
        {"S_ZEI_K", b.residentTax},
        {"S_TOTALS", b.gross},
        {"S_TOTALT", b.net},
    };
    for (const auto& [column, value] : batch) EXPECT_EQ(number(r, column), value) << column;
}

INSTANTIATE_TEST_SUITE_P(Profiles, FiveEmployees, ::testing::ValuesIn(kExpected),
                         [](const ::testing::TestParamInfo<Expected>& info) { return std::string(info.param.name); });

// The ages the insurance depends on hold whatever day the test runs.
TEST_F(FiveEmployees, BirthDatesAreCountedBackFromToday) {
    ASSERT_EQ(generated.code, 0) << generated.err;
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    const rtl::TDateTime today = rtl::encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    const int expected[5] = {45, 28, 33, 22, 67};
    ASSERT_EQ(ages.rows.size(), 5u);
    for (size_t i = 0; i < 5; ++i)
        EXPECT_EQ(rtl::ageInYears(ages.rows[i][1].real(), today), expected[i]) << "employee " << i + 1;
}

TEST_F(FiveEmployees, PrintsEachStageAndTheTotal) {
    ASSERT_EQ(ran.code, 0) << ran.err;
    for (const char* stage :
         {"CSV import:", "punch import:", "recomputation:", "month totals:", "batch calculation:", "payrun total: "})
        EXPECT_NE(ran.out.find(stage), std::string::npos) << stage << "\n" << ran.out;
}

// ---- refusals ----------------------------------------------------------------------

TEST_F(BenchFolder, MissingClockOutsStopAtTheMonthTotalsWithTheProgramsMessage) {
    ASSERT_EQ(
        bench("generate '" + work.string() + "' --employees 5 --year 2026 --month 7 --missing-clock-outs 2", scratch)
            .code,
        0);
    const Outcome o =
        bench("payrun '" + work.string() + "' --year 2026 --month 07 --csv '" + (work / "punches.csv").string() + "'",
              scratch);
    EXPECT_NE(o.code, 0);
    EXPECT_NE(o.err.find("month totals: 2 個のデータが不正です。訂正して下さい。"), std::string::npos) << o.err;
    EXPECT_EQ(o.out.find("payrun total"), std::string::npos);
    db::Connection c((work / "Wendrasol.mdb").string());
    EXPECT_EQ(c.scalar("SELECT COUNT(*) FROM sum_tran").integer(), 0);
    c.close();
}

struct BrokenFolder {
    const char* name;
    bool settings;         // a settings file naming Wendrasol.mdb
    const char* database;  // content of Wendrasol.mdb; nullptr: no such file
    const char* message;   // part of what payrun prints
};

void PrintTo(const BrokenFolder& b, std::ostream* os) { *os << b.name; }

class PayrunRefuses : public BenchFolder, public ::testing::WithParamInterface<BrokenFolder> {};

TEST_P(PayrunRefuses, WithAClearMessageAndCreatesNothing) {
    const BrokenFolder& b = GetParam();
    fs::create_directories(work);
    if (b.settings) std::ofstream(work / "Quendar.ini") << (work / "Wendrasol.mdb").string() << "\r\n";
    if (b.database) std::ofstream(work / "Wendrasol.mdb") << b.database;
    const std::set<std::string> before = listing(work);
    const Outcome o = bench("payrun '" + work.string() + "' --year 2026 --month 7", scratch);
    EXPECT_EQ(o.code, 1);
    EXPECT_NE(o.err.find(b.message), std::string::npos) << o.err;
    EXPECT_EQ(listing(work), before);
    if (b.database) {
        std::ifstream f(work / "Wendrasol.mdb");
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(f), {}), b.database);
    }
}

INSTANTIATE_TEST_SUITE_P(Folders, PayrunRefuses,
                         ::testing::Values(BrokenFolder{"NoSettingsFile", false, nullptr, "no settings file"},
                                           BrokenFolder{"DatabaseMissing", true, nullptr, "が見つかりません。"},
                                           BrokenFolder{"DatabaseIsText", true, "payroll notes, not a database\n",
                                                        "はデータベースではありません。"},
                                           BrokenFolder{"DatabaseIsEmpty", true, "", "はデータベースではありません。"}),
                         [](const ::testing::TestParamInfo<BrokenFolder>& info) {
                             return std::string(info.param.name);
                         });

TEST_F(BenchFolder, MonthOutsideOneToTwelveIsRefused) {
    const Outcome o = bench("payrun '" + work.string() + "' --year 2026 --month 13", scratch);
    EXPECT_EQ(o.code, 2);
    EXPECT_NE(o.err.find("--month"), std::string::npos) << o.err;
    EXPECT_FALSE(fs::exists(work));
}

}  // namespace
