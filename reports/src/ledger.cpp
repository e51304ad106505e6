#include "reports/ledger.h"

#include <QFile>

#include <array>
#include <charconv>
#include <filesystem>
#include <map>

#include "rtl/errors.h"
#include "rtl/format.h"
#include "sheet/cellref.h"
#include "sheet/workbook.h"

namespace reports {
namespace {

constexpr const char* kTemplateSheet = "Sheet1";
constexpr int kFirstMonthSheetColumn = 9;  // I
constexpr int kColumns = 14;

bool digits(const std::string& s, std::size_t from, std::size_t count) {
    if (from + count > s.size()) return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (s[i] < '0' || s[i] > '9') return false;
    return true;
}

// The year of the range whose last two digits are `yy`, if any.
std::optional<int> rangeYear(int yy, const LedgerRange& range) {
    for (int year : {range.first.year, range.last.year})
        if (year % 100 == yy) return year;
    return std::nullopt;
}

// Sums of one column: the records of a month (several for weekly or daily
// pay) or one bonus.
struct ColumnSums {
    bool used = false;
    long long days = 0, workMinutes = 0, overtimeMinutes = 0, lateNightMinutes = 0, basePay = 0;
    std::array<long long, 8> allowances{};
    long long overtimePay = 0, holidayPay = 0, lateNightPay = 0;
    long long transportAboveCap = 0, transportUpToCap = 0;
    long long subsidy = 0, health = 0, care = 0, pension = 0, employment = 0, incomeTax = 0, residentTax = 0, meals = 0;
    std::array<long long, 3> deductions{};

    void add(const PayRecord& r, long long cap) {
        used = true;
        days += r.days;
        workMinutes += r.workMinutes;
        overtimeMinutes += r.earlyOvertimeMinutes + r.overtimeMinutes;
        lateNightMinutes += r.lateNightMinutes;
        basePay += r.basePay;
        for (std::size_t k = 0; k < allowances.size(); ++k) allowances[k] += r.allowances[k];
        overtimePay += r.earlyOvertimePay + r.overtimePay;
        holidayPay += r.holidayPay;
        lateNightPay += r.lateNightPay;
        // Transport up to the employee's cap is untaxed; no cap means all of it.
        if (cap != 0 && r.transport > cap) {
            transportUpToCap += cap;
            transportAboveCap += r.transport - cap;
        } else {
            transportUpToCap += r.transport;
        }
        subsidy += r.subsidy;
        health += r.healthInsurance;
        care += r.careInsurance;
        pension += r.pension;
        employment += r.employmentInsurance;
        incomeTax += r.incomeTax;
        residentTax += r.residentTax;
        meals += r.meals;
        for (std::size_t k = 0; k < deductions.size(); ++k) deductions[k] += r.deductions[k];
    }
};

// Hours from minutes with at most two decimals, as the ledger shows them.
// Read back without the C locale, which follows the desktop's decimal mark.
double hours(long long minutes) {
    const std::string text = rtl::formatFloat("#0.##", static_cast<double>(minutes) / 60.0);
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

}  // namespace

int monthCount(const LedgerRange& range) {
    const int n = (range.last.year - range.first.year) * 12 + (range.last.month - range.first.month) + 1;
    return n < 0 ? 0 : n;
}

std::string checkLedgerRange(const LedgerRange& range) {
    const int n = monthCount(range);
    if (n < 1) return RangeReversedMessage;
    if (n > 12) return RangeTooLongMessage;
    return {};
}

KeyPlace placeKey(const std::string& key, const LedgerRange& range) {
    KeyPlace place;
    if (!digits(key, 0, 2)) return place;
    const int yy = std::stoi(key.substr(0, 2));
    const std::optional<int> year = rangeYear(yy, range);
    if (!year) return place;
    const bool monthKey = key.size() == 5 && key[2] == '/' && digits(key, 3, 2);
    const bool periodKey = key.size() == 8 && key[2] == '/' && digits(key, 3, 2) && key[5] == '/' && digits(key, 6, 2);
    if (monthKey || periodKey) {
        const int month = std::stoi(key.substr(3, 2));
        const int index = (*year - range.first.year) * 12 + (month - range.first.month);
        if (month >= 1 && month <= 12 && index >= 0 && index < monthCount(range)) {
            place.kind = KeyPlace::Month;
            place.column = index;
        }
        return place;
    }
    if (key.size() == 4 && key[2] == '-' && digits(key, 3, 1)) {
        if (range.first.year != range.last.year) {
            place.kind = KeyPlace::BonusOfOtherYear;
        } else if (key[3] == '1' || key[3] == '2') {
            place.kind = KeyPlace::Bonus;
            place.column = FirstBonusColumn + (key[3] - '1');
        } else {
            place.kind = KeyPlace::OtherBonus;
        }
    }
    return place;
}

std::string ledgerColumnLetters(int column) {
    if (column < 0 || column >= kColumns)
        throw rtl::AutomationError("台帳の列 " + std::to_string(column) + " はありません");
    return sheet::columnName(kFirstMonthSheetColumn + 4 * column);
}

EmployeeLedger employeeLedger(const LedgerEmployee& employee, const std::vector<PayRecord>& records,
                              const LedgerCaptions& captions, const LedgerRange& range) {
    EmployeeLedger out;
    auto number = [&](const std::string& address, double v) {
        out.cells.push_back({LedgerCell::Number, address, v, {}});
    };
    auto text = [&](const std::string& address, const std::string& t) {
        out.cells.push_back({LedgerCell::Text, address, 0, t});
    };

    // Title and particulars.
    text("A2", std::to_string(range.first.year) + " 年　　賃　金　台　帳");
    if (employee.birthDate) out.cells.push_back({LedgerCell::Date, "A5", *employee.birthDate, {}});
    text("Q5", employee.jobCategory);
    text("AG5", employee.name);

    // Row captions from the caption table.
    for (int k = 0; k < 6; ++k) text("B" + std::to_string(15 + k), captions.allowances[static_cast<std::size_t>(k)]);
    text("B26", captions.allowanceH);
    text("B27", captions.allowances[6]);
    text("B28", captions.allowances[7]);
    text("B40", "食事等補助");
    for (int k = 0; k < 3; ++k) text("B" + std::to_string(41 + k), captions.deductions[static_cast<std::size_t>(k)]);

    // Which month each column holds.
    for (int m = 0; m < monthCount(range); ++m) {
        const int month0 = range.first.month - 1 + m;
        text(ledgerColumnLetters(m) + "7",
             std::to_string(range.first.year + month0 / 12) + "年" + std::to_string(month0 % 12 + 1) + "月");
    }

    std::array<ColumnSums, kColumns> columns{};
    for (const PayRecord& r : records) {
        const KeyPlace place = placeKey(r.key, range);
        switch (place.kind) {
        case KeyPlace::Month:
        case KeyPlace::Bonus:
            columns[static_cast<std::size_t>(place.column)].add(r, employee.transportCap);
            ++out.placedRecords;
            break;
        case KeyPlace::OtherBonus: out.otherBonuses.push_back(r.key); break;
        case KeyPlace::BonusOfOtherYear: out.bonusesOfOtherYears.push_back(r.key); break;
        case KeyPlace::Outside: break;
        }
    }

    for (int c = 0; c < kColumns; ++c) {
        const ColumnSums& s = columns[static_cast<std::size_t>(c)];
        if (!s.used) continue;
        const std::string col = ledgerColumnLetters(c);
        auto put = [&](int row, double v) { number(col + std::to_string(row), v); };
        put(8, static_cast<double>(s.days));
        put(9, hours(s.workMinutes));
        put(10, hours(s.overtimeMinutes));
        put(12, hours(s.lateNightMinutes));
        put(14, static_cast<double>(s.basePay));
        for (int k = 0; k < 6; ++k) put(15 + k, static_cast<double>(s.allowances[static_cast<std::size_t>(k)]));
        put(21, static_cast<double>(s.overtimePay));
        put(22, static_cast<double>(s.holidayPay));
        put(23, static_cast<double>(s.lateNightPay));
        put(24, static_cast<double>(s.transportAboveCap));
        put(25, static_cast<double>(s.transportUpToCap));
        put(26, static_cast<double>(s.subsidy));
        put(27, static_cast<double>(s.allowances[6]));
        put(28, static_cast<double>(s.allowances[7]));
        put(32, static_cast<double>(s.health));
        put(33, static_cast<double>(s.care));
        put(34, static_cast<double>(s.pension));
        put(35, static_cast<double>(s.employment));
        put(38, static_cast<double>(s.incomeTax));
        put(39, static_cast<double>(s.residentTax));
        put(40, static_cast<double>(s.meals));
        for (int k = 0; k < 3; ++k) put(41 + k, static_cast<double>(s.deductions[static_cast<std::size_t>(k)]));
    }
    return out;
}

std::string otherBonusMessage(const std::vector<std::string>& lines) {
    std::string text = "3回目以降の賞与は台帳の賞与欄（2回分）に入らないため、記入していません。";
    for (const std::string& line : lines) text += "\n" + line;
    return text;
}

LedgerResult writeLedger(db::Connection& connection, const LedgerRequest& request, const std::string& templatePath,
                         const std::string& outputPath) {
    LedgerResult result;
    const LedgerCaptions captions = ledgerCaptions(connection);
    std::vector<LedgerEmployee> employees = ledgerEmployees(connection);
    if (request.employeeNumber != 0)
        std::erase_if(employees, [&](const LedgerEmployee& e) { return e.number != request.employeeNumber; });

    sheet::Workbook book = sheet::Workbook::open(templatePath);
    std::vector<std::string> otherBonuses;
    bool bonusesLeftOut = false;
    int copy = 1;
    // Highest number first: each copy goes right after the template sheet,
    // so the finished workbook lists the employees in ascending number.
    for (auto it = employees.rbegin(); it != employees.rend(); ++it) {
        const EmployeeLedger ledger =
            employeeLedger(*it, payRecordsOf(connection, it->number), captions, request.range);
        for (const std::string& key : ledger.otherBonuses) otherBonuses.push_back(it->name + "　" + key);
        bonusesLeftOut = bonusesLeftOut || !ledger.bonusesOfOtherYears.empty();
        if (ledger.placedRecords == 0) continue;
        const std::string name = std::string(kTemplateSheet) + " (" + std::to_string(++copy) + ")";
        book.copySheet(kTemplateSheet, kTemplateSheet, name);
        book.activate(name);
        for (const LedgerCell& cell : ledger.cells) {
            switch (cell.kind) {
            case LedgerCell::Number: book.setNumber(name, cell.address, cell.number); break;
            case LedgerCell::Text: book.setText(name, cell.address, cell.text); break;
            case LedgerCell::Date: book.setDate(name, cell.address, cell.number); break;
            }
        }
        ++result.sheets;
    }
    // Bonuses left out are said even when they were all there was to write.
    if (bonusesLeftOut) result.notices.push_back(BonusYearsMessage);
    if (!otherBonuses.empty()) result.notices.push_back(otherBonusMessage(otherBonuses));
    if (result.sheets > 0) book.saveAs(outputPath);
    return result;
}

std::string ledgerFileName(const std::string& suffix) { return "Kyuyo_daicho_" + suffix + ".xlsx"; }

std::string ensureLedgerTemplate(const std::string& folder) {
    const std::filesystem::path path = std::filesystem::path(folder) / LedgerTemplateName;
    if (std::filesystem::exists(path)) return path.string();
    QFile resource(QStringLiteral(":/templates/Kyuyo_daicho.xlsx"));
    const std::string target = path.string();
    if (!resource.open(QIODevice::ReadOnly)) throw rtl::FileError(rtl::msg::cannotReadFile(target), target);
    const QByteArray bytes = resource.readAll();
    QFile out(QString::fromStdString(target));
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size() || !out.flush()) {
        out.remove();
        throw rtl::FileError(rtl::msg::cannotCreateFile(target), target);
    }
    return target;
}

}  // namespace reports
