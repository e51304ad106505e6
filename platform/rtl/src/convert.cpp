#include "rtl/convert.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "rtl/errors.h"

namespace rtl {

namespace {

bool isBlank(char c) { return static_cast<unsigned char>(c) <= 0x20 && c != '\0'; }

bool parseInt64(std::string_view s, int64_t& out) {
    std::size_t i = 0;
    while (i < s.size() && isBlank(s[i])) ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    if (i >= s.size()) return false;
    // Accumulate as a negative number so that INT64_MIN fits.
    int64_t v = 0;
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    for (; i < s.size(); ++i) {
        const char c = s[i];
        if (c < '0' || c > '9') return false;
        const int d = c - '0';
        if (v < kMin / 10 || (v == kMin / 10 && d > -(kMin % 10))) return false;
        v = v * 10 - d;
    }
    if (!negative) {
        if (v == kMin) return false;
        v = -v;
    }
    out = v;
    return true;
}

// Checks the accepted float grammar and returns the trimmed body without a
// leading '+', ready for from_chars.
bool floatBody(std::string_view s, std::string& body) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlank(s[b])) ++b;
    while (e > b && isBlank(s[e - 1])) --e;
    std::string_view t = s.substr(b, e - b);
    body.clear();
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) {
        if (t[i] == '-') body += '-';
        ++i;
    }
    int mantissaDigits = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') body += t[i++], ++mantissaDigits;
    if (i < t.size() && t[i] == '.') {
        body += t[i++];
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') body += t[i++], ++mantissaDigits;
    }
    if (mantissaDigits == 0) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        body += 'e';
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) body += t[i++];
        int expDigits = 0;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') body += t[i++], ++expDigits;
        if (expDigits == 0) return false;
    }
    return i == t.size();
}

// The power of ten of the first significant digit of a non-zero number
// body as floatBody writes it (123.4 -> 2, 0.05 -> -2, 1e-400 -> -400); the
// exponent saturates, so any number of exponent digits is fine.
long long decimalOrder(std::string_view body) {
    std::size_t i = body[0] == '-' || body[0] == '+' ? 1 : 0;
    long long order = -1;
    bool seen = false;
    long long fractionZeros = 0;
    for (; i < body.size() && body[i] != 'e'; ++i) {
        if (body[i] == '.') {
            for (++i; i < body.size() && body[i] != 'e'; ++i) {
                if (!seen && body[i] == '0') ++fractionZeros;
                else if (!seen) seen = true, order = -1 - fractionZeros;
            }
            break;
        }
        if (seen || body[i] != '0') {
            seen = true;
            ++order;
        }
    }
    long long exponent = 0;
    if (i < body.size() && body[i] == 'e') {
        ++i;
        const bool negative = i < body.size() && body[i] == '-';
        if (i < body.size() && (body[i] == '-' || body[i] == '+')) ++i;
        for (; i < body.size(); ++i) exponent = std::min(exponent * 10 + (body[i] - '0'), 1000000000LL);
        if (negative) exponent = -exponent;
    }
    return order + exponent;
}

}  // namespace

bool tryStrToInt64(std::string_view text, int64_t& out) { return parseInt64(text, out); }

bool tryStrToInt(std::string_view text, int32_t& out) {
    int64_t v;
    if (!parseInt64(text, v) || v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int32_t>(v);
    return true;
}

int32_t strToInt(std::string_view text) {
    int32_t v;
    if (!tryStrToInt(text, v)) throw ConversionError(msg::notInteger(text));
    return v;
}

int64_t strToInt64(std::string_view text) {
    int64_t v;
    if (!tryStrToInt64(text, v)) throw ConversionError(msg::notInteger(text));
    return v;
}

int32_t strToIntDef(std::string_view text, int32_t fallback) {
    int32_t v;
    return tryStrToInt(text, v) ? v : fallback;
}

bool tryStrToFloat(std::string_view text, double& out) {
    std::string body;
    if (!floatBody(text, body)) return false;
    double v = 0;
    const auto res = std::from_chars(body.data(), body.data() + body.size(), v);
    if (res.ec == std::errc::result_out_of_range && res.ptr == body.data() + body.size() && decimalOrder(body) < 0) {
        // Below the smallest double: the nearest double is zero.
        out = body[0] == '-' ? -0.0 : 0.0;
        return true;
    }
    if (res.ec != std::errc() || res.ptr != body.data() + body.size() || std::isinf(v)) return false;
    out = v;
    return true;
}

double strToFloat(std::string_view text) {
    double v;
    if (!tryStrToFloat(text, v)) throw ConversionError(msg::notFloat(text));
    return v;
}

double strToFloatDef(std::string_view text, double fallback) {
    double v;
    return tryStrToFloat(text, v) ? v : fallback;
}

std::string intToStr(int64_t value) { return std::to_string(value); }

std::string floatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";
    if (value == 0.0) return "0";
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf: [-]d.dddddddddddddde[+-]xx
    std::string s(buf);
    const bool negative = s[0] == '-';
    if (negative) s.erase(0, 1);
    const std::size_t epos = s.find('e');
    const int exp10 = std::stoi(s.substr(epos + 1));
    std::string digits = s.substr(0, 1) + s.substr(2, epos - 2);
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    std::string out = negative ? "-" : "";
    // Fixed notation for 1e-5 < |value| < 1e15, as the general format has it.
    if (exp10 >= 15 || exp10 < -4) {
        out += digits[0];
        if (digits.size() > 1) out += '.' + digits.substr(1);
        out += 'E' + std::to_string(exp10);
        return out;
    }
    if (exp10 < 0) {
        out += "0." + std::string(static_cast<std::size_t>(-exp10 - 1), '0') + digits;
        return out;
    }
    const std::size_t intLen = static_cast<std::size_t>(exp10) + 1;
    if (digits.size() <= intLen) {
        out += digits + std::string(intLen - digits.size(), '0');
    } else {
        out += digits.substr(0, intLen) + '.' + digits.substr(intLen);
    }
    return out;
}

}  // namespace rtl
