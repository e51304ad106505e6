// What the annual wage ledger reads from the working database: employees,
// their pay and bonus records and the column captions, as plain values.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace db {
class Connection;
}

namespace reports {

struct LedgerEmployee {
    long long number = 0;             // E_NO
    std::string code;                 // E_TANCOD
    std::string name;                 // E_NAME
    std::string jobCategory;          // E_JOBKBN
    std::optional<double> birthDate;  // E_BARTH; none when empty or the zero date
    long long transportCap = 0;       // E_GKING_K9
};

// One row of sum_tran (a month, a weekly or daily period, or a bonus).
struct PayRecord {
    std::string key;                        // S_DATE
    long long days = 0;                     // S_DAYS
    long long workMinutes = 0;              // S_KINMU
    long long earlyOvertimeMinutes = 0;     // S_HAYZAN
    long long overtimeMinutes = 0;          // S_FUTZAN
    long long lateNightMinutes = 0;         // S_SINZAN
    long long basePay = 0;                  // S_BASKING
    std::array<long long, 8> allowances{};  // S_GKING1..8
    long long earlyOvertimePay = 0;         // S_HAYKING
    long long overtimePay = 0;              // S_FUTKING
    long long holidayPay = 0;               // S_KYUKING
    long long lateNightPay = 0;             // S_SINKING
    long long transport = 0;                // S_KOTUHI
    long long subsidy = 0;                  // S_HOJYO
    long long healthInsurance = 0;          // S_HOKEN
    long long careInsurance = 0;            // S_HOKENK
    long long pension = 0;                  // S_NENKIN
    long long employmentInsurance = 0;      // S_KOYOU
    long long incomeTax = 0;                // S_ZEI_G
    long long residentTax = 0;              // S_ZEI_K
    long long meals = 0;                    // S_MEAT_K
    std::array<long long, 3> deductions{};  // S_SKING1..3
};

struct LedgerCaptions {
    std::array<std::string, 8> allowances;  // GKING1..8
    std::string allowanceH;                 // GKINGH
    std::array<std::string, 3> deductions;  // SKING1..3
};

// Every employee of the master, in service or not, by ascending E_NO.
std::vector<LedgerEmployee> ledgerEmployees(db::Connection& connection);
// The employees in service (E_DROPKBN = '1') by ascending E_NO: the choice list.
std::vector<LedgerEmployee> employeesInService(db::Connection& connection);
// All pay and bonus records of one employee (S_TANCOD), by S_DATE.
std::vector<PayRecord> payRecordsOf(db::Connection& connection, long long employeeNumber);
// The caption row CODE = 1 (empty texts when there is none).
LedgerCaptions ledgerCaptions(db::Connection& connection);

}  // namespace reports
