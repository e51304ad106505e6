#include "rtl/textfile.h"

#include <iconv.h>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "rtl/errors.h"
#include "rtl/strings.h"

namespace rtl {

namespace {

// An iconv conversion descriptor, closed on scope exit.
class Iconv {
public:
    Iconv(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
    ~Iconv() {
        if (ok()) iconv_close(cd_);
    }
    Iconv(const Iconv&) = delete;
    Iconv& operator=(const Iconv&) = delete;
    bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
    iconv_t get() const { return cd_; }

private:
    iconv_t cd_;
};

// Converts `in` with `cd`; on a sequence it cannot convert it appends
// `replacement`, skips `skipBytes(in, pos)` input bytes and goes on.
template <typename Skip>
std::string convert(const Iconv& cd, std::string_view in, std::string_view replacement, Skip skip) {
    std::string out;
    out.reserve(in.size() * 3 / 2 + 16);
    char buffer[4096];
    std::size_t pos = 0;
    while (pos < in.size()) {
        char* src = const_cast<char*>(in.data() + pos);
        std::size_t srcLeft = in.size() - pos;
        char* dst = buffer;
        std::size_t dstLeft = sizeof buffer;
        const std::size_t r = iconv(cd.get(), &src, &srcLeft, &dst, &dstLeft);
        const int err = errno;
        out.append(buffer, static_cast<std::size_t>(dst - buffer));
        pos = static_cast<std::size_t>(src - in.data());
        if (r != static_cast<std::size_t>(-1)) break;
        if (err == E2BIG) continue;
        // EILSEQ or EINVAL (incomplete sequence at the end).
        out.append(replacement);
        pos += skip(in, pos);
        iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
    }
    return out;
}

std::string pathText(const std::filesystem::path& p) { return p.string(); }

std::string readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw FileError(msg::cannotOpenFile(pathText(path)), pathText(path));
    std::string bytes;
    char buffer[65536];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        bytes.append(buffer, static_cast<std::size_t>(in.gcount()));
    if (in.bad()) throw FileError(msg::cannotReadFile(pathText(path)), pathText(path));
    return bytes;
}

}  // namespace

std::string cp932ToUtf8(std::string_view bytes) {
    static const Iconv probe("UTF-8", "CP932");
    if (!probe.ok()) throw FileError("CP932 の変換が使用できません", "");
    Iconv cd("UTF-8", "CP932");
    return convert(cd, bytes, "\xEF\xBF\xBD", [](std::string_view in, std::size_t pos) {
        // A lead byte followed by an invalid trail byte drops only the lead
        // byte, so the next character survives.
        (void)in;
        (void)pos;
        return std::size_t{1};
    });
}

namespace {
// Length of the UTF-8 character at `pos` (1 for a bad byte).
std::size_t utf8CharLength(std::string_view in, std::size_t pos) {
    const auto b = static_cast<unsigned char>(in[pos]);
    std::size_t n = b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
    if (pos + n > in.size()) n = in.size() - pos;
    for (std::size_t k = 1; k < n; ++k)
        if ((static_cast<unsigned char>(in[pos + k]) & 0xC0) != 0x80) return k;
    return n;
}
}  // namespace

std::string utf8ToCp932(std::string_view text) {
    Iconv cd("CP932", "UTF-8");
    if (!cd.ok()) throw FileError("CP932 の変換が使用できません", "");
    return convert(cd, text, "?", utf8CharLength);
}

std::optional<std::string> utf8ToCp932Exact(std::string_view text, std::string* missing) {
    Iconv cd("CP932", "UTF-8");
    if (!cd.ok()) throw FileError("CP932 の変換が使用できません", "");
    bool lost = false;
    std::string out = convert(cd, text, "", [&](std::string_view in, std::size_t pos) {
        const std::size_t n = utf8CharLength(in, pos);
        if (!lost && missing) *missing = std::string(in.substr(pos, n));
        lost = true;
        return n;
    });
    if (lost) return std::nullopt;
    return out;
}

std::string utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    Iconv cd("UTF-8", bigEndian ? "UTF-16BE" : "UTF-16LE");
    if (!cd.ok()) throw FileError("UTF-16 の変換が使用できません", "");
    // An unpaired surrogate (or an odd last byte) becomes U+FFFD; the code
    // unit after it starts afresh.
    return convert(cd, bytes, "\xEF\xBF\xBD",
                   [](std::string_view in, std::size_t pos) { return std::min<std::size_t>(2, in.size() - pos); });
}

std::string decodeText(std::string_view bytes, TextEncoding* detected) {
    // A UTF-16 byte-order mark is never valid UTF-8 nor plausible CP932
    // text, so it decides alone.
    if (bytes.size() >= 2 && (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")) {
        if (detected) *detected = TextEncoding::Utf16;
        return utf16ToUtf8(bytes.substr(2), bytes[0] == '\xFE');
    }
    if (isValidUtf8(bytes)) {
        if (detected) *detected = TextEncoding::Utf8;
        if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
        return std::string(bytes);
    }
    if (detected) *detected = TextEncoding::Cp932;
    return cp932ToUtf8(bytes);
}

std::vector<std::string> splitLines(std::string_view text) {
    const std::vector<std::string_view> views = splitLineViews(text);
    return {views.begin(), views.end()};
}

std::vector<std::string_view> splitLineViews(std::string_view text) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c != '\r' && c != '\n') continue;
        lines.emplace_back(text.substr(start, i - start));
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.emplace_back(text.substr(start));
    return lines;
}

std::string readTextFile(const std::filesystem::path& path, TextEncoding* detected) {
    return decodeText(readBytes(path), detected);
}

std::vector<std::string> readAllLines(const std::filesystem::path& path) { return splitLines(readTextFile(path)); }

std::vector<std::string> readLines(const std::filesystem::path& path, std::size_t maxLines) {
    std::vector<std::string> lines = readAllLines(path);
    if (lines.size() > maxLines) lines.resize(maxLines);
    return lines;
}

std::string readFirstLine(const std::filesystem::path& path) {
    std::vector<std::string> lines = readLines(path, 1);
    return lines.empty() ? std::string() : lines.front();
}

void writeTextFile(const std::filesystem::path& path, std::string_view text) {
    std::filesystem::path tmp = path;
    tmp += ".tmp~";
    {
        std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
        if (!out) throw FileError(msg::cannotCreateFile(pathText(path)), pathText(path));
        out.write(text.data(), static_cast<std::streamsize>(text.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ec;
            std::filesystem::remove(tmp, ec);
            throw FileError(msg::cannotWriteFile(pathText(path)), pathText(path));
        }
    }
    std::error_code ec;
    std::filesystem::rename(tmp, path, ec);
    if (ec) {
        std::filesystem::remove(tmp, ec);
        throw FileError(msg::cannotWriteFile(pathText(path)), pathText(path));
    }
}

void writeLines(const std::filesystem::path& path, const std::vector<std::string>& lines, std::string_view lineEnd) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += lineEnd;
    }
    writeTextFile(path, text);
}

}  // namespace rtl
