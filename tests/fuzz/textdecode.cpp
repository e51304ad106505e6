// The text decoder: any bytes give valid UTF-8; a UTF-16 byte-order mark
// means UTF-16; valid UTF-8 comes back as it is (byte-order mark dropped),
// anything else is read as CP932; CP932
// text survives a trip to CP932 and back; lines split at CR LF, LF and CR.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "fuzz.h"
#include "rtl/textfile.h"

namespace {

// Strict UTF-8, read independently: shortest forms only, no surrogates,
// nothing above U+10FFFF.
bool validUtf8(std::string_view s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        int n;
        uint32_t cp;
        if (b < 0x80) n = 0, cp = b;
        else if (b >= 0xC2 && b <= 0xDF) n = 1, cp = b & 0x1F;
        else if (b >= 0xE0 && b <= 0xEF) n = 2, cp = b & 0x0F;
        else if (b >= 0xF0 && b <= 0xF4) n = 3, cp = b & 0x07;
        else return false;
        if (i + static_cast<size_t>(n) >= s.size()) return false;
        for (int k = 1; k <= n; ++k) {
            const auto c = static_cast<unsigned char>(s[i + static_cast<size_t>(k)]);
            if ((c & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if ((n == 2 && cp < 0x800) || (n == 3 && cp < 0x10000) || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
            return false;
        i += static_cast<size_t>(n) + 1;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    rtl::TextEncoding detected{};
    const std::string text = rtl::decodeText(bytes, &detected);
    fuzz::check(validUtf8(text), "decoded text is not valid UTF-8");
    if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF") {
        fuzz::check(detected == rtl::TextEncoding::Utf16, "a UTF-16 byte-order mark not read as UTF-16");
    } else if (validUtf8(bytes)) {
        fuzz::check(detected == rtl::TextEncoding::Utf8, "valid UTF-8 read as CP932");
        const std::string_view body = bytes.substr(0, 3) == "\xEF\xBB\xBF" ? bytes.substr(3) : bytes;
        fuzz::check(text == body, "valid UTF-8 changed on reading");
    } else {
        fuzz::check(detected == rtl::TextEncoding::Cp932, "invalid UTF-8 read as UTF-8");
        fuzz::check(text == rtl::cp932ToUtf8(bytes), "CP932 decoding differs");
        if (text.find("\xEF\xBF\xBD") == std::string::npos)
            fuzz::check(rtl::cp932ToUtf8(rtl::utf8ToCp932(text)) == text, "CP932 text does not survive a round trip");
    }

    // Lines: no line holds a line break, and the lines joined by LF are the
    // text with CR LF and CR made LF, less one final line end.
    const std::vector<std::string> lines = rtl::splitLines(text);
    std::string joined;
    for (size_t i = 0; i < lines.size(); ++i) {
        fuzz::check(lines[i].find_first_of("\r\n") == std::string::npos, "a line holds a line break");
        if (i) joined += '\n';
        joined += lines[i];
    }
    std::string normal;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            normal += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            normal += text[i];
        }
    }
    if (!normal.empty() && normal.back() == '\n') normal.pop_back();
    fuzz::check(joined == normal, "lines do not make up the text");
    return 0;
}
