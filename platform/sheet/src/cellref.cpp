#include "sheet/cellref.h"

#include <cctype>

#include "rtl/errors.h"

namespace sheet {
namespace {

[[noreturn]] void badAddress(std::string_view text) {
    throw rtl::AutomationError("セル番地 '" + std::string(text) + "' は正しくありません");
}

}  // namespace

int columnIndex(std::string_view letters) {
    if (letters.empty() || letters.size() > 3) badAddress(letters);
    int column = 0;
    for (char ch : letters) {
        const unsigned char c = static_cast<unsigned char>(ch);
        if (!std::isalpha(c)) badAddress(letters);
        column = column * 26 + (std::toupper(c) - 'A' + 1);
    }
    if (column > MaxColumn) badAddress(letters);
    return column;
}

std::string columnName(int column) {
    if (column < 1 || column > MaxColumn) badAddress(std::to_string(column));
    std::string name;
    while (column > 0) {
        const int digit = (column - 1) % 26;
        name.insert(name.begin(), static_cast<char>('A' + digit));
        column = (column - 1) / 26;
    }
    return name;
}

CellRef parseCell(std::string_view address) {
    std::size_t i = 0;
    auto skipDollar = [&] {
        if (i < address.size() && address[i] == '$') ++i;
    };
    skipDollar();
    const std::size_t lettersFrom = i;
    while (i < address.size() && std::isalpha(static_cast<unsigned char>(address[i]))) ++i;
    const std::string_view letters = address.substr(lettersFrom, i - lettersFrom);
    skipDollar();
    const std::size_t digitsFrom = i;
    while (i < address.size() && std::isdigit(static_cast<unsigned char>(address[i]))) ++i;
    const std::string_view digits = address.substr(digitsFrom, i - digitsFrom);
    if (letters.empty() || digits.empty() || i != address.size() || digits.size() > 7 || digits[0] == '0')
        badAddress(address);
    CellRef ref;
    ref.column = columnIndex(letters);
    ref.row = std::stoi(std::string(digits));
    if (ref.row > MaxRow) badAddress(address);
    return ref;
}

std::string cellName(const CellRef& ref) {
    if (ref.row < 1 || ref.row > MaxRow) badAddress(std::to_string(ref.row));
    return columnName(ref.column) + std::to_string(ref.row);
}

}  // namespace sheet
