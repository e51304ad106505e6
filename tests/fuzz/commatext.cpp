// Comma text: splitting any line never fails, and joining cells then
// splitting them gives the same cells back.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz.h"
#include "rtl/commatext.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string line(reinterpret_cast<const char*>(data), size);
    const std::vector<std::string> fields = rtl::splitCommaText(line);
    for (const std::string& f : fields) fuzz::check(f.find('\0') == std::string::npos, "a field holds NUL");

    // Splitting what join wrote gives the fields again.
    const std::string joined = rtl::joinCommaText(fields);
    fuzz::check(rtl::splitCommaText(joined) == fields, "split(join(split(x))) != split(x)");

    // Any cells (no NUL: it ends the line) survive a join and a split. The
    // input is cut into cells at byte 0x01 followed by a byte that picks the
    // next cut, so cells may hold quotes, commas, blanks and line breaks.
    std::vector<std::string> cells(1);
    for (size_t i = 0; i < size; ++i) {
        const char c = static_cast<char>(data[i]);
        if (c == '\x01') cells.emplace_back();
        else if (c != '\0') cells.back() += c;
    }
    if (cells.size() == 1 && cells[0].empty()) return 0;  // no cells at all is written as ""
    const std::string written = rtl::joinCommaText(cells);
    fuzz::check(rtl::splitCommaText(written) == cells, "cells do not survive join and split: " + written);
    return 0;
}
