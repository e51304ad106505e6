// tallyra-bench generate: a working folder as a first start leaves it, with
// a company, three work categories, N employees and a month of punches from
// a time recorder (CSV layout 1, CP932).
#include <cstdio>
#include <ctime>
#include <fstream>
#include <random>

#include "app/settingsfile.h"
#include "data/delivered.h"
#include "db/connection.h"
#include "db/prepared.h"
#include "options.h"
#include "period/payperiod.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/textfile.h"
#include "subcommands.h"
#include "workload.h"

namespace bench {

namespace {

// The company closes its month on the 20th: the pay month July runs from
// 21 July to 20 August.
constexpr const char* kClosingDay = "20";

// ---- work categories -----------------------------------------------------------

struct Category {
    const char* code;
    const char* shiftName;
    int start, end;  // minutes after the work date's midnight (end may pass 24:00)
    const char* texts[22];
};

// Column order of 区分 (as the delivered schema creates it).
const char* const kCategoryColumns[22] = {
    "区分",          "就業開始時刻",  "就業終了時刻",  "遅刻早退開始時刻", "遅刻早退終了時刻", "休憩1開始時刻",
    "休憩1終了時刻", "休憩2開始時刻", "休憩2終了時刻", "休憩3開始時刻",    "休憩3終了時刻",    "早出開始時刻",
    "早出終了時刻",  "残業開始時刻",  "残業終了時刻",  "深夜開始時刻",     "深夜終了時刻",     "丸め方法",
    "就業丸め単位",  "遅早丸め単位",  "残業丸め単位",  "残業基準時数"};

// A day shift with a lunch break (paid by the minute), an evening shift that
// runs into the late-night hours (quarter hours), and a night shift across
// midnight with a break at 02:00 (half hours). Overtime follows each shift;
// late night is 22:00 to 05:00 for all.
const Category kCategories[3] = {
    {"01", "日勤", 9 * 60, 18 * 60, {"01",    "09:00", "18:00", "09:00", "18:00", "12:00", "13:00", "",
                                     "",      "",      "",      "",      "",      "18:00", "22:00", "22:00",
                                     "29:00", "",      "01",    "01",    "15",    "08:00"}},
    {"02", "夕勤", 17 * 60, 23 * 60, {"02", "17:00", "23:00", "17:00", "23:00", "", "",   "",   "",   "",     "", "",
                                      "",   "23:00", "26:00", "22:00", "29:00", "", "15", "15", "15", "06:00"}},
    {"03", "夜勤", 22 * 60, 31 * 60, {"03",    "22:00", "31:00", "22:00", "31:00", "26:00", "27:00", "",
                                      "",      "",      "",      "",      "",      "31:00", "34:00", "22:00",
                                      "29:00", "",      "30",    "30",    "30",    "08:00"}},
};

const Category& categoryOf(const std::string& code) {
    for (const Category& c : kCategories)
        if (code == c.code) return c;
    return kCategories[0];
}

// ---- employees -----------------------------------------------------------------

struct Profile {
    std::string name;
    std::string category;
    std::string payKind;  // "0" month, "1" day, "2" hour
    long long basePay = 0;
    int age = 30;
    std::string rest = "0";                 // break taken off
    long long overRate = 0, nightRate = 0;  // 0 = the kind is not paid
    long long lateRate = 0, leaveRate = 0;  // 0 = the kind is not deducted
    long long transport = 0;                // below 2000 a day's, else a month's
    std::string allowance1Kind = "0";       // 役職手当 (taxable)
    long long allowance1 = 0;
    std::string allowance7Kind = "0";  // 在宅勤務手当 (not taxable)
    long long allowance7 = 0;
    long long health = 0, pension = 0;  // 0 none, 1 by rate, above 1 a fixed amount
    std::string employment = "0";       // "1" employment insurance by rate
    int taxColumn = 0;                  // dependants 0..7, 8 乙
    long long residentTax = 0, meal = 0;
};

// The five fixed profiles of a five-employee folder (listed in the README).
std::vector<Profile> fixedProfiles() {
    std::vector<Profile> p(5);
    // 1: day shift, monthly wage, aged 45 (nursing care), taxable allowance.
    p[0] = {"佐藤一郎", "01",  "0", 300000, 45, "1", 2300, 0, 1900, 1900, 12000,
            "1",        10000, "0", 0,      1,  1,   "1",  2, 8000, 0};
    // 2: evening shift, paid by the hour, late night.
    p[1] = {"鈴木花子", "02", "2", 1200, 28, "0", 1500, 300, 1200, 1200, 400, "0", 0, "0", 0, 1, 1, "1", 0, 0, 0};
    // 3: night shift, paid by the day, fixed health premium.
    p[2] = {"高橋健太", "03", "1", 14000, 33, "1", 2200, 440, 1750, 1750, 0, "0", 0, "0", 0, 14000, 1, "1", 1, 0, 3000};
    // 4: day shift, paid by the hour, a non-taxable allowance, no social insurance.
    p[3] = {"田中美咲", "01", "2", 1100, 22, "1", 1375, 0, 0, 0, 300, "0", 0, "1", 5000, 0, 0, "1", 0, 0, 0};
    // 5: evening shift, monthly wage, aged 67 (past nursing care), secondary tax column.
    p[4] = {"伊藤誠", "02", "0", 220000, 67, "0", 1700, 340, 1375, 1375, 15000, "0", 0, "0", 0, 1, 1, "1", 8, 0, 0};
    return p;
}

const char* const kFamily[] = {"佐藤", "鈴木", "高橋",   "田中", "伊藤", "渡辺", "山本", "中村", "小林", "加藤",
                               "吉田", "山田", "佐々木", "山口", "松本", "井上", "木村", "林",   "斎藤", "清水"};
const char* const kGiven[] = {"一郎", "花子", "健太", "美咲",   "誠",   "陽子", "大輔", "由美", "翔太", "恵",
                              "直樹", "彩",   "拓也", "真由美", "健一", "愛",   "亮",   "香織", "剛",   "優子"};

std::vector<Profile> drawnProfiles(int n, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    std::vector<Profile> out;
    out.reserve(n);
    for (int i = 0; i < n; ++i) {
        Profile p;
        p.name = std::string(kFamily[pick(0, 19)]) + kGiven[pick(0, 19)];
        const int c = pick(1, 100);
        p.category = c <= 60 ? "01" : (c <= 85 ? "02" : "03");
        const int k = pick(1, 100);
        p.payKind = k <= 40 ? "0" : (k <= 60 ? "1" : "2");
        long long hourly = 0;
        if (p.payKind == "0") {
            p.basePay = pick(180, 420) * 1000;
            hourly = p.basePay / 160;
        } else if (p.payKind == "1") {
            p.basePay = pick(80, 150) * 100;
            hourly = p.basePay / 8;
        } else {
            p.basePay = pick(110, 180) * 10;
            hourly = p.basePay;
        }
        p.age = pick(19, 69);
        p.rest = p.category == "02" ? "0" : "1";
        p.overRate = hourly * 125 / 100;
        p.nightRate = p.category == "01" ? 0 : hourly * 25 / 100;
        p.lateRate = p.leaveRate = p.payKind == "2" ? 0 : hourly;
        const int t = pick(1, 10);
        p.transport = t <= 3 ? 0 : (t <= 7 ? pick(3, 10) * 100 : pick(5, 20) * 1000);
        if (pick(1, 10) <= 2) {
            p.allowance1Kind = "1";
            p.allowance1 = pick(1, 5) * 5000;
        }
        if (pick(1, 10) <= 3) {
            p.allowance7Kind = pick(0, 1) ? "1" : "2";
            p.allowance7 = p.allowance7Kind == "1" ? 3000 : 200;
        }
        const bool insured = p.payKind != "2" || pick(1, 10) <= 4;
        p.health = insured ? (pick(1, 20) == 1 ? pick(8, 20) * 1000 : 1) : 0;
        p.pension = insured ? 1 : 0;
        p.employment = pick(1, 10) <= 9 ? "1" : "0";
        p.taxColumn = pick(1, 20) == 1 ? 8 : pick(0, 3);
        p.residentTax = pick(1, 10) <= 4 ? pick(3, 25) * 1000 : 0;
        p.meal = pick(1, 10) <= 2 ? 3000 : 0;
        out.push_back(std::move(p));
    }
    return out;
}

rtl::TDateTime birthDate(int age) {
    // A hundred days past the birthday, so the age holds for the whole month.
    return rtl::incDay(rtl::incYear(today(), -age), -100);
}

std::string employeeCode(long long number) {
    std::string digits = std::to_string(number);
    return digits.size() < 6 ? std::string(6 - digits.size(), '0') + digits : digits;
}

void writeMasters(db::Connection& c, const std::vector<Profile>& profiles) {
    c.execute("UPDATE 会社 SET 会社名 = ?, 締日 = ?", {"株式会社ベンチ商事", kClosingDay});
    c.execute("UPDATE title_mas SET GKING1 = ?, GKING7 = ? WHERE CODE = 1", {"役職手当", "在宅勤務手当"});
    c.execute("DELETE FROM 区分");
    {
        std::string cols, marks;
        for (const char* col : kCategoryColumns) {
            cols += (cols.empty() ? "" : ",") + std::string(col);
            marks += marks.empty() ? "?" : ",?";
        }
        db::PreparedStatement insert(c, "INSERT INTO 区分 (" + cols + ") VALUES (" + marks + ")");
        for (const Category& cat : kCategories) {
            db::Params params;
            for (const char* t : cat.texts) params.emplace_back(t);
            insert.run(params);
        }
    }
    const char* const columns[] = {
        "E_NO",       "E_TANCOD",   "E_NAME",      "E_CARDNO",   "E_JOBKBN",   "E_DROPKBN",  "E_BARTH",   "E_REST_YN",
        "E_REST_NN",  "E_PAYKBN",   "E_BASE_YN",   "E_BASEPAY",  "E_HAYZ_YN",  "E_HAYZPAY",  "E_FUTZ_YN", "E_FUTZPAY",
        "E_SINZ_YN",  "E_SINZPAY",  "E_KYU_YN",    "E_KYU_PAY",  "E_TIKO_YN",  "E_TIKOKU",   "E_SOUT_YN", "E_SOUTAI",
        "E_KOTUHI",   "E_HOJYO",    "E_GKING_S1",  "E_GKING_K1", "E_GKING_S7", "E_GKING_K7", "E_MEAT_K",  "E_JYUMIN_Z",
        "E_HOKEN_YN", "E_KOYOU_YN", "E_NENKIN_YN", "E_KIKIN_YN", "E_KNTKBN"};
    std::string cols, marks;
    for (const char* col : columns) {
        cols += (cols.empty() ? "" : ",") + std::string(col);
        marks += marks.empty() ? "?" : ",?";
    }
    db::PreparedStatement insert(c, "INSERT INTO emp_tanka (" + cols + ") VALUES (" + marks + ")");
    long long number = 0;
    for (const Profile& p : profiles) {
        ++number;
        const std::string code = employeeCode(number);
        auto flag = [](long long rate) { return std::string(rate > 0 ? "1" : "0"); };
        insert.run({number,
                    code,
                    p.name,
                    code,
                    p.category,
                    "1",
                    birthDate(p.age),
                    p.rest,
                    0,
                    p.payKind,
                    "1",
                    p.basePay,
                    "0",
                    0,
                    flag(p.overRate),
                    p.overRate,
                    flag(p.nightRate),
                    p.nightRate,
                    "0",
                    0,
                    flag(p.lateRate),
                    p.lateRate,
                    flag(p.leaveRate),
                    p.leaveRate,
                    p.transport,
                    0,
                    p.allowance1Kind,
                    p.allowance1,
                    p.allowance7Kind,
                    p.allowance7,
                    p.meal,
                    p.residentTax,
                    p.health,
                    p.employment,
                    p.pension,
                    0,
                    p.taxColumn});
    }
}

// ---- punches --------------------------------------------------------------------

struct Day {
    int in, out;  // minutes after the work date's midnight
};

// The fixed profiles' days, by working-day index: late on days 3, 10 and 17
// (ten minutes), leaving thirty minutes early on days 5 and 14, an hour and
// two minutes of overtime on days 2, 7, 12, 17 and 22; otherwise in five
// minutes before the shift and out three minutes after it.
Day fixedDay(const Category& c, int d) {
    Day day{c.start - 5, c.end + 3};
    if (d % 7 == 3) day.in = c.start + 10;
    if (d % 9 == 5) day.out = c.end - 30;
    if (d % 5 == 2) day.out = c.end + 62;
    return day;
}

Day drawnDay(const Category& c, std::mt19937& rng) {
    auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    Day day{c.start - pick(0, 15), c.end + pick(0, 10)};
    const int r = pick(1, 100);
    if (r <= 8) day.in = c.start + pick(1, 40);            // late
    if (r > 8 && r <= 13) day.out = c.end - pick(10, 90);  // leaves early
    if (r > 80) day.out = c.end + pick(30, 150);           // overtime
    return day;
}

std::string clock(int minutes) {
    minutes %= 24 * 60;
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d:%02d", minutes / 60, minutes % 60);
    return buf;
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

const char* const kWeekday[8] = {"", "日", "月", "火", "水", "木", "金", "土"};

long long writePunches(const std::filesystem::path& file, const std::vector<Profile>& profiles,
                       const period::DateRange& range, bool fixed, int missingClockOuts, std::mt19937& rng) {
    std::vector<rtl::TDateTime> days;
    for (rtl::TDateTime d = range.first; d <= range.last; d = rtl::incDay(d)) {
        const int w = rtl::dayOfWeek(d);
        if (w != 1 && w != 7) days.push_back(d);
    }
    const long long lines = static_cast<long long>(days.size() * profiles.size());
    // A clock-out missing: the recorder stamped the way in twice, so the
    // line's clock-out is its clock-in. Spread over the month.
    const long long step = missingClockOuts > 0 ? std::max<long long>(1, lines / missingClockOuts) : 0;

    std::string text = "No,社員番号,氏名,部門,年月日,曜日,勤務区分,シフト,出勤,外出,戻り,退勤,備考\r\n";
    long long line = 0, missing = 0;
    for (size_t d = 0; d < days.size(); ++d) {
        const rtl::DateParts date = rtl::decodeDate(days[d]);
        char dateText[16];
        std::snprintf(dateText, sizeof dateText, "%04d/%02d/%02d", date.year, date.month, date.day);
        for (size_t e = 0; e < profiles.size(); ++e) {
            const Profile& p = profiles[e];
            const Category& c = categoryOf(p.category);
            const Day day = fixed ? fixedDay(c, static_cast<int>(d)) : drawnDay(c, rng);
            std::string out = clock(day.out);
            if (step > 0 && missing < missingClockOuts && line % step == step - 1) {
                out = clock(day.in);
                ++missing;
            }
            ++line;
            text += std::to_string(line) + "," + employeeCode(static_cast<long long>(e + 1)) + "," + quoted(p.name) +
                    "," + p.category + "," + dateText + "," + kWeekday[rtl::dayOfWeek(days[d])] + ",出勤," +
                    c.shiftName + "," + clock(day.in) + ",,," + out + ",\r\n";
        }
    }
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    const std::string bytes = rtl::utf8ToCp932(text);
    f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    f.close();
    if (!f) throw Failure("cannot write " + file.string());
    return lines;
}

}  // namespace

rtl::TDateTime today() {
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return rtl::encodeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
}

Generated generateFolder(const GenerateSpec& spec) {
    std::filesystem::create_directories(spec.dir);
    const std::filesystem::path dir = std::filesystem::absolute(spec.dir);
    if (std::filesystem::exists(dir / app::SettingsFileName))
        throw Failure("the folder " + dir.string() + " already holds a settings file; generate needs a new folder");
    Generated g;
    g.database =
        app::readOrCreateSettings(dir.string(), [](const std::string& path) { data::createDeliveredDatabase(path); });

    std::mt19937 rng(spec.seed);
    const bool fixed = spec.employees == 5;
    const std::vector<Profile> profiles = fixed ? fixedProfiles() : drawnProfiles(spec.employees, rng);
    db::Connection c(g.database.string());
    c.runJob([&] { writeMasters(c, profiles); });
    c.close();

    char month[4];
    std::snprintf(month, sizeof month, "%02d", spec.month);
    const period::PayPeriod pp = period::monthlyPayPeriod(std::to_string(spec.year), month, kClosingDay);
    const attendance::PeriodDates range = attendance::periodDates(pp.first, pp.last);
    g.periodFirst = pp.first;
    g.periodLast = pp.last;
    g.csv = dir / kPunchCsvName;
    g.employees = static_cast<long long>(profiles.size());
    g.lines = writePunches(g.csv, profiles, range, fixed, spec.missingClockOuts, rng);
    return g;
}

int generate(const Args& args) {
    return guarded("generate", [&] {
        const Options o =
            parseOptions(args, {"--employees", "--year", "--month", "--seed", "--missing-clock-outs"}, true);
        const rtl::DateParts now = rtl::decodeDate(today());
        GenerateSpec spec;
        spec.dir = o.dir;
        spec.employees = static_cast<int>(o.number("--employees", 1000, 1, 100000));
        spec.year = std::stoi(o.has("--year") ? yearText(o) : std::to_string(now.year));
        spec.month = std::stoi(o.has("--month") ? monthText(o) : std::to_string(now.month));
        spec.seed = static_cast<unsigned>(o.number("--seed", 1, 0, 4294967295LL));
        spec.missingClockOuts = static_cast<int>(o.number("--missing-clock-outs", 0, 0, 1000000));
        const Generated g = generateFolder(spec);
        std::printf("working folder: %s\n", std::filesystem::absolute(spec.dir).string().c_str());
        std::printf("database: %s\n", g.database.string().c_str());
        std::printf("employees: %lld\n", g.employees);
        std::printf("pay period: %s - %s\n", g.periodFirst.c_str(), g.periodLast.c_str());
        std::printf("punches: %s (%lld lines, %lld punches, layout 1, CP932)\n", g.csv.string().c_str(), g.lines,
                    g.lines * 2);
        return 0;
    });
}

}  // namespace bench
