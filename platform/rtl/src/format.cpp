#include "rtl/format.h"

#include <cmath>
#include <cstdio>
#include <vector>

#include "rtl/convert.h"
#include "rtl/errors.h"

namespace rtl {

namespace {

// One section of a mask, analysed.
struct Section {
    std::string prefix;   // literal text before the first digit placeholder
    std::string suffix;   // literal text after it (and between placeholders)
    int decimals = 0;     // placeholders after the point
    int minDecimals = 0;  // up to the last '0' after the point
    int minInteger = 0;   // from the first '0' before the point
    bool grouping = false;
    bool hasPlaceholder = false;
};

std::vector<std::string> splitSections(std::string_view mask) {
    std::vector<std::string> out(1);
    char quote = 0;
    for (char c : mask) {
        if (quote) {
            if (c == quote) quote = 0;
            out.back() += c;
        } else if (c == '"' || c == '\'') {
            quote = c;
            out.back() += c;
        } else if (c == ';') {
            out.emplace_back();
        } else {
            out.back() += c;
        }
    }
    return out;
}

Section analyse(std::string_view m) {
    Section s;
    bool afterPoint = false;
    int integerPlaceholders = 0;
    int firstZero = -1;  // index among integer placeholders
    for (std::size_t i = 0; i < m.size(); ++i) {
        const char c = m[i];
        std::string& literal = s.hasPlaceholder ? s.suffix : s.prefix;
        if (c == '"' || c == '\'') {
            const std::size_t close = m.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? m.size() : close;
            literal.append(m.substr(i + 1, end - i - 1));
            i = end;
        } else if (c == '0' || c == '#') {
            s.hasPlaceholder = true;
            if (afterPoint) {
                ++s.decimals;
                if (c == '0') s.minDecimals = s.decimals;
            } else {
                if (c == '0' && firstZero < 0) firstZero = integerPlaceholders;
                ++integerPlaceholders;
            }
        } else if (c == '.' && !afterPoint) {
            afterPoint = true;
        } else if (c == ',' && !afterPoint) {
            s.grouping = true;
        } else {
            literal += c;
        }
    }
    s.minInteger = firstZero < 0 ? 0 : integerPlaceholders - firstZero;
    return s;
}

// Adds one unit in the last place of a digit string; returns true on a carry
// out of the first digit.
bool increment(std::string& digits) {
    for (std::size_t k = digits.size(); k-- > 0;) {
        if (digits[k] == '9') {
            digits[k] = '0';
        } else {
            ++digits[k];
            return false;
        }
    }
    return true;
}

// Integer and fraction digits of |value| from its 15-significant-digit form.
void decimalDigits(double value, std::string& intPart, std::string& fracPart) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    std::string s(buf);
    const std::size_t epos = s.find('e');
    const int exp10 = std::stoi(s.substr(epos + 1));
    const std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);
    if (exp10 >= 0) {
        const std::size_t intLen = static_cast<std::size_t>(exp10) + 1;
        if (digits.size() <= intLen) {
            intPart = digits + std::string(intLen - digits.size(), '0');
            fracPart.clear();
        } else {
            intPart = digits.substr(0, intLen);
            fracPart = digits.substr(intLen);
        }
    } else {
        intPart = "0";
        fracPart = std::string(static_cast<std::size_t>(-exp10 - 1), '0') + digits;
    }
}

// Rounds intPart.fracPart half away from zero to `decimals` places.
void roundDigits(std::string& intPart, std::string& fracPart, int decimals) {
    const std::size_t keep = static_cast<std::size_t>(decimals);
    if (fracPart.size() <= keep) {
        fracPart.append(keep - fracPart.size(), '0');
        return;
    }
    const bool up = fracPart[keep] >= '5';
    fracPart.resize(keep);
    if (!up) return;
    if (increment(fracPart) || keep == 0) {
        if (increment(intPart)) intPart.insert(0, "1");
    }
}

bool allZero(const std::string& a, const std::string& b) {
    for (char c : a)
        if (c != '0') return false;
    for (char c : b)
        if (c != '0') return false;
    return true;
}

std::string render(const Section& sec, std::string intPart, std::string fracPart, bool minus) {
    // Integer digits without leading zeros, then padded to the minimum.
    std::size_t nz = 0;
    while (nz + 1 < intPart.size() && intPart[nz] == '0') ++nz;
    intPart.erase(0, nz);
    if (intPart == "0" && sec.minInteger == 0) intPart.clear();
    if (static_cast<int>(intPart.size()) < sec.minInteger)
        intPart.insert(0, static_cast<std::size_t>(sec.minInteger) - intPart.size(), '0');
    if (sec.grouping && intPart.size() > 3) {
        std::string g;
        const std::size_t n = intPart.size();
        for (std::size_t k = 0; k < n; ++k) {
            if (k > 0 && (n - k) % 3 == 0) g += ',';
            g += intPart[k];
        }
        intPart = g;
    }
    while (static_cast<int>(fracPart.size()) > sec.minDecimals && !fracPart.empty() && fracPart.back() == '0')
        fracPart.pop_back();
    std::string out;
    if (minus) out += '-';
    out += sec.prefix;
    out += intPart;
    if (!fracPart.empty()) out += '.' + fracPart;
    out += sec.suffix;
    return out;
}

// The common road for doubles and integers: `digitsOf(decimals, int, frac)`
// yields the rounded digits of |value|.
template <typename DigitsOf>
std::string formatWith(std::string_view mask, bool negative, DigitsOf digitsOf) {
    const std::vector<std::string> sections = splitSections(mask);
    const Section first = analyse(sections[0]);
    const bool hasNegative = sections.size() > 1 && !sections[1].empty();
    const bool hasZero = sections.size() > 2 && !sections[2].empty();
    Section sec = negative && hasNegative ? analyse(sections[1]) : first;
    std::string intPart, fracPart;
    digitsOf(sec.decimals, intPart, fracPart);
    const bool zero = allZero(intPart, fracPart);
    if (zero && hasZero) {
        sec = analyse(sections[2]);
        digitsOf(sec.decimals, intPart, fracPart);
        return render(sec, intPart, fracPart, false);
    }
    if (!sec.hasPlaceholder) return sec.prefix + sec.suffix;
    const bool minus = negative && !zero && !hasNegative;
    return render(sec, intPart, fracPart, minus);
}

}  // namespace

std::string formatFloat(std::string_view mask, double value) {
    if (std::isnan(value) || std::isinf(value)) throw ArithmeticError(msg::invalidFloatOperation);
    if (mask.empty()) return floatToStr(value);
    return formatWith(mask, value < 0, [value](int decimals, std::string& ip, std::string& fp) {
        decimalDigits(value, ip, fp);
        roundDigits(ip, fp, decimals);
    });
}

std::string formatInteger(std::string_view mask, int64_t value) {
    if (mask.empty()) return intToStr(value);
    const uint64_t magnitude =
        value < 0 ? static_cast<uint64_t>(0) - static_cast<uint64_t>(value) : static_cast<uint64_t>(value);
    return formatWith(mask, value < 0, [magnitude](int decimals, std::string& ip, std::string& fp) {
        ip = std::to_string(magnitude);
        fp.assign(static_cast<std::size_t>(decimals), '0');
    });
}

}  // namespace rtl
