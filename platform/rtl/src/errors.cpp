#include "rtl/errors.h"

namespace rtl {

namespace {
std::string quoted(std::string_view value, std::string_view tail) {
    std::string s;
    s.reserve(value.size() + tail.size() + 2);
    s += '\'';
    s += value;
    s += '\'';
    s += tail;
    return s;
}
}  // namespace

ListIndexError::ListIndexError(long long index) : Error(msg::listIndex(index)), index_(index) {}

void abortSilently() { throw SilentAbort{}; }

namespace msg {
std::string notInteger(std::string_view v) { return quoted(v, " は整数ではありません"); }
std::string notFloat(std::string_view v) { return quoted(v, " は浮動小数点数ではありません"); }
std::string notDate(std::string_view v) { return quoted(v, " は日付ではありません"); }
std::string notTime(std::string_view v) { return quoted(v, " は時刻ではありません"); }
std::string notDateTime(std::string_view v) { return quoted(v, " は日付または時刻ではありません"); }
std::string listIndex(long long index) {
    return "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")";
}
std::string cannotOpenFile(std::string_view p) { return "ファイル " + quoted(p, " を開けません"); }
std::string cannotCreateFile(std::string_view p) { return "ファイル " + quoted(p, " を作成できません"); }
std::string cannotReadFile(std::string_view p) { return "ファイル " + quoted(p, " を読み込めません"); }
std::string cannotWriteFile(std::string_view p) { return "ファイル " + quoted(p, " に書き込めません"); }
}  // namespace msg

}  // namespace rtl
