#include "rtl/strings.h"

#include <cstddef>

namespace rtl {

namespace {

// Decodes one UTF-8 sequence at s[i]. Returns its length in bytes (>= 1) and
// stores the code point, or U+FFFD with length 1 for an invalid byte.
std::size_t decodeOne(std::string_view s, std::size_t i, char32_t& cp) {
    const auto b0 = static_cast<unsigned char>(s[i]);
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    }
    std::size_t len;
    char32_t value;
    char32_t minimum;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2, value = b0 & 0x1F, minimum = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3, value = b0 & 0x0F, minimum = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4, value = b0 & 0x07, minimum = 0x10000;
    } else {
        cp = 0xFFFD;
        return 1;
    }
    if (i + len > s.size()) {
        cp = 0xFFFD;
        return 1;
    }
    for (std::size_t k = 1; k < len; ++k) {
        const auto b = static_cast<unsigned char>(s[i + k]);
        if ((b & 0xC0) != 0x80) {
            cp = 0xFFFD;
            return 1;
        }
        value = (value << 6) | (b & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        cp = 0xFFFD;
        return 1;
    }
    cp = value;
    return len;
}

// Byte offset of character `index` (0-based), or s.size() past the end.
std::size_t byteOffset(std::string_view s, long long index) {
    std::size_t i = 0;
    char32_t cp;
    while (index > 0 && i < s.size()) {
        i += decodeOne(s, i, cp);
        --index;
    }
    return i;
}

bool isBlankOrControl(unsigned char c) { return c <= 0x20; }

}  // namespace

int length(std::string_view s) {
    int n = 0;
    char32_t cp;
    for (std::size_t i = 0; i < s.size(); ++n) i += decodeOne(s, i, cp);
    return n;
}

std::string copy(std::string_view s, int index, int count) {
    if (count < 1) return {};
    if (index < 1) index = 1;
    const std::size_t begin = byteOffset(s, index - 1);
    if (begin >= s.size()) return {};
    const std::size_t end = begin + byteOffset(s.substr(begin), count);
    return std::string(s.substr(begin, end - begin));
}

std::string copyFrom(std::string_view s, int index) {
    if (index < 1) index = 1;
    const std::size_t begin = byteOffset(s, index - 1);
    return std::string(s.substr(begin));
}

int pos(std::string_view sub, std::string_view s) {
    if (sub.empty()) return 0;
    const std::size_t at = s.find(sub);
    if (at == std::string_view::npos) return 0;
    return length(s.substr(0, at)) + 1;
}

std::string trimLeft(std::string_view s) {
    std::size_t b = 0;
    while (b < s.size() && isBlankOrControl(static_cast<unsigned char>(s[b]))) ++b;
    return std::string(s.substr(b));
}

std::string trimRight(std::string_view s) {
    std::size_t e = s.size();
    while (e > 0 && isBlankOrControl(static_cast<unsigned char>(s[e - 1]))) --e;
    return std::string(s.substr(0, e));
}

std::string_view trimView(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && isBlankOrControl(static_cast<unsigned char>(s[b]))) ++b;
    while (e > b && isBlankOrControl(static_cast<unsigned char>(s[e - 1]))) --e;
    return s.substr(b, e - b);
}

std::string trim(std::string_view s) { return std::string(trimView(s)); }

std::string upperCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return r;
}

std::string lowerCase(std::string_view s) {
    std::string r(s);
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

int cp932ByteLength(std::string_view s) {
    int n = 0;
    char32_t cp;
    for (std::size_t i = 0; i < s.size();) {
        i += decodeOne(s, i, cp);
        n += (cp < 0x80 || (cp >= 0xFF61 && cp <= 0xFF9F)) ? 1 : 2;
    }
    return n;
}

std::string sixDigitCode(int64_t n) { return std::to_string(n + 1000000).substr(1); }

std::string twoDigits(int64_t n) {
    const std::string s = std::to_string(n + 100);
    return s.size() <= 2 ? s : s.substr(s.size() - 2);
}

std::string quotedStr(std::string_view s) {
    std::string r;
    r.reserve(s.size() + 2);
    r += '\'';
    for (char c : s) {
        if (c == '\'') r += '\'';
        r += c;
    }
    r += '\'';
    return r;
}

std::string replaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return std::string(s);
    std::string r;
    std::size_t i = 0;
    for (;;) {
        const std::size_t at = s.find(from, i);
        if (at == std::string_view::npos) break;
        r.append(s.substr(i, at - i));
        r.append(to);
        i = at + from.size();
    }
    r.append(s.substr(i));
    return r;
}

bool isValidUtf8(std::string_view s) {
    char32_t cp;
    for (std::size_t i = 0; i < s.size();) {
        const std::size_t n = decodeOne(s, i, cp);
        if (cp == 0xFFFD && n == 1 && static_cast<unsigned char>(s[i]) >= 0x80) return false;
        i += n;
    }
    return true;
}

std::u32string toUtf32(std::string_view s) {
    std::u32string r;
    char32_t cp;
    for (std::size_t i = 0; i < s.size();) {
        i += decodeOne(s, i, cp);
        r += cp;
    }
    return r;
}

void appendUtf8(std::string& out, char32_t cp) {
    if (cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) cp = 0xFFFD;
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

std::string fromUtf32(std::u32string_view s) {
    std::string r;
    for (char32_t cp : s) appendUtf8(r, cp);
    return r;
}

}  // namespace rtl
