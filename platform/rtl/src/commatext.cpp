#include "rtl/commatext.h"

#include <algorithm>

namespace rtl {

namespace {
// Blanks and control characters; NUL is the end of the line, not a blank.
bool isBlank(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 1 && u <= 0x20;
}
}  // namespace

std::vector<std::string> splitCommaText(std::string_view line) {
    const std::size_t nul = line.find('\0');
    if (nul != std::string_view::npos) line = line.substr(0, nul);

    std::vector<std::string> fields;
    // One allocation for the usual line (a comma per field).
    fields.reserve(static_cast<std::size_t>(std::count(line.begin(), line.end(), ',')) + 1);
    std::size_t i = 0;
    const std::size_t n = line.size();
    auto skipBlanks = [&] {
        while (i < n && isBlank(line[i])) ++i;
    };
    skipBlanks();
    while (i < n) {
        std::string field;
        if (line[i] == '"') {
            ++i;
            while (i < n) {
                if (line[i] == '"') {
                    if (i + 1 < n && line[i + 1] == '"') {
                        field += '"';
                        i += 2;
                        continue;
                    }
                    ++i;  // closing quote
                    break;
                }
                field += line[i++];
            }
        } else {
            const std::size_t start = i;
            while (i < n && !isBlank(line[i]) && line[i] != ',') ++i;
            field.assign(line.substr(start, i - start));
        }
        fields.push_back(std::move(field));
        skipBlanks();
        if (i < n && line[i] == ',') {
            if (i + 1 == n) fields.emplace_back();  // trailing comma: an empty last field
            ++i;
            skipBlanks();
        }
    }
    return fields;
}

std::string joinCommaText(const std::vector<std::string>& cells) {
    if (cells.size() == 1 && cells[0].empty()) return "\"\"";
    std::string out;
    for (std::size_t k = 0; k < cells.size(); ++k) {
        if (k > 0) out += ',';
        const std::string& cell = cells[k];
        bool needsQuotes = false;
        for (char c : cell) {
            const auto u = static_cast<unsigned char>(c);
            if (u <= 0x20 || c == ',' || c == '"') {
                needsQuotes = true;
                break;
            }
        }
        if (!needsQuotes) {
            out += cell;
            continue;
        }
        out += '"';
        for (char c : cell) {
            if (c == '"') out += '"';
            out += c;
        }
        out += '"';
    }
    return out;
}

}  // namespace rtl
