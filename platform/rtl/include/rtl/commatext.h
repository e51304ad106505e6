// Comma text: the one-line, comma-separated form used by the time-recorder
// exports and the deduction item list.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace rtl {

// Splits one line into fields:
//  - blanks and control characters (<= U+0020) before a field and around
//    each comma are skipped;
//  - an unquoted field runs to the next comma or blank (so an unquoted blank
//    ends the field, and the text after it starts the next field);
//  - a field starting with a double quote runs to the closing quote and may
//    hold commas and blanks; a doubled quote inside stands for one quote; an
//    unterminated quote runs to the end of the line;
//  - a comma that is the very last character yields a last, empty field;
//  - an empty (or all-blank) line gives no fields.
// A NUL character ends the line.
std::vector<std::string> splitCommaText(std::string_view line);

// Joins cells with commas. A cell holding a blank, a control character, a
// comma or a double quote is written in double quotes with inner quotes
// doubled; an empty cell is written as nothing. A list of exactly one empty
// cell is written as "" so that it splits back to one cell.
std::string joinCommaText(const std::vector<std::string>& cells);

}  // namespace rtl
