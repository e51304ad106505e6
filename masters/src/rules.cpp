#include "masters/rules.h"

#include "rtl/strings.h"

namespace masters {
namespace {

bool allDigits(std::string_view s) {
    if (s.empty()) return false;
    for (char c : s)
        if (c < '0' || c > '9') return false;
    return true;
}

// Value of a short run of ASCII digits (the caller checked allDigits).
std::int64_t digitsValue(std::string_view s) {
    std::int64_t v = 0;
    for (char c : s) {
        v = v * 10 + (c - '0');
        if (v > 100000000) return v;  // far beyond every range tested here
    }
    return v;
}

bool validClock(std::string_view hh, std::string_view mm) {
    if (!allDigits(hh) || !allDigits(mm)) return false;
    return digitsValue(hh) <= 47 && digitsValue(mm) <= 59;
}

}  // namespace

std::string defaultEmployeeCode(std::int64_t eNo) { return rtl::sixDigitCode(eNo); }

std::optional<std::string> employeeKeyProblem(std::optional<std::int64_t> eNo, std::optional<std::string_view> code) {
    if (!eNo) return std::string("NOを入力して下さい。");
    if (*eNo < 0 || *eNo > 999999) return std::string("NOは0から999999までの数字で入力して下さい。");
    const std::string mismatch =
        "社員番号はNO（" + std::to_string(*eNo) + "）と同じ数字で入力して下さい。先頭の0は付けてもかまいません。";
    if (!code || code->empty() || !allDigits(*code)) return mismatch;
    // Leading zeros do not count; what is left must be the number itself.
    std::string_view digits = *code;
    while (digits.size() > 1 && digits.front() == '0') digits.remove_prefix(1);
    if (digits != std::to_string(*eNo)) return mismatch;
    return std::nullopt;
}

std::string duplicateEmployeeNumberMessage(std::int64_t eNo) {
    return "NO " + std::to_string(eNo) + " は他の社員が使っています。別のNOを入力して下さい。";
}

std::optional<std::string> categoryCodeRule(std::string_view text) {
    std::string t(text);
    if (rtl::cp932ByteLength(t) == 1) t = "0" + t;
    if (rtl::cp932ByteLength(t) > 2) return std::nullopt;
    return t;
}

std::optional<std::string> roundingUnitRule(std::string_view text) {
    std::string t(text);
    if (rtl::cp932ByteLength(t) == 1) t = "0" + t;
    if (t.empty()) return t;
    if (!allDigits(t) || t.size() > 2) return std::nullopt;
    const std::int64_t unit = digitsValue(t);
    if (unit < 1 || unit > 60 || 60 % unit != 0) return std::nullopt;
    return t;
}

std::optional<std::string> clockTimeRule(std::string_view text) {
    const int len = rtl::cp932ByteLength(text);
    if (len == 0) return std::string();
    // Single-byte lengths: a text of 4 or 5 code-page bytes holding only
    // ASCII has exactly that many characters here.
    if (len == 4 && text.size() == 4) {
        if (!validClock(text.substr(0, 2), text.substr(2, 2))) return std::nullopt;
        return std::string(text.substr(0, 2)) + ":" + std::string(text.substr(2, 2));
    }
    if (len == 5 && text.size() == 5 && text[2] == ':') {
        if (!validClock(text.substr(0, 2), text.substr(3, 2))) return std::nullopt;
        return std::string(text);
    }
    return std::nullopt;
}

bool usableClosingDay(std::string_view text) {
    const std::string t = rtl::trim(text);
    if (t.empty()) return true;
    if (!allDigits(t) || t.size() > 2) return false;
    const std::int64_t day = digitsValue(t);
    return day >= 1 && day <= 31;
}

std::string storedClosingDayMessage(std::string_view text) {
    return "会社情報の締日 '" + std::string(text) +
           "' では支給期間を計算できません。会社情報の締日を1から31までの数字か空欄に直して下さい。";
}

bool knownRecorderKind(std::string_view recYN) { return recYN == "0" || recYN == "1" || recYN == "2" || recYN == "3"; }

bool usableRate(std::optional<double> rate) { return !rate || *rate >= 0; }

std::string rateMessage(std::string_view rateName) { return std::string(rateName) + "は0以上の数字で入力して下さい。"; }

}  // namespace masters
