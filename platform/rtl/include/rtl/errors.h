// The runtime's error hierarchy.
//
// Every error the runtime raises derives from rtl::Error, whose what() is the
// Japanese text the user sees in the application's error box. rtl::SilentAbort
// is deliberately *not* an rtl::Error (nor a std::exception): it ends an event
// handler without any message, and the UI handler guard swallows it.
#pragma once

#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>

namespace rtl {

class Error : public std::runtime_error {
public:
    explicit Error(const std::string& message) : std::runtime_error(message) {}
};

// Text that is not a number, date or time of the expected form.
class ConversionError : public Error {
public:
    using Error::Error;
};

// Division by zero, infinities, NaN, values beyond the integer range.
class ArithmeticError : public Error {
public:
    using Error::Error;
};

// Index outside a list (for example a comma-text line with too few cells).
class ListIndexError : public Error {
public:
    explicit ListIndexError(long long index);
    long long index() const noexcept { return index_; }

private:
    long long index_;
};

// A file that cannot be opened, read, written or renamed.
class FileError : public Error {
public:
    FileError(const std::string& message, std::string path) : Error(message), path_(std::move(path)) {}
    const std::string& path() const noexcept { return path_; }

private:
    std::string path_;
};

// Raised by the database layer (SQLite stand-in for the Jet engine).
class DatabaseError : public Error {
public:
    using Error::Error;
};

// Raised by the automation stand-ins (workbook, catalog, engine objects).
class AutomationError : public Error {
public:
    using Error::Error;
};

// Ends the current handler without a message (after the handler has shown
// its own message box, for example). Not derived from std::exception, so a
// generic `catch (const std::exception&)` never mistakes it for a failure.
struct SilentAbort {};

// Throws SilentAbort.
[[noreturn]] void abortSilently();

// The runtime's fixed message texts. `value` is inserted between the quotes.
namespace msg {
std::string notInteger(std::string_view value);   // "'%s' は整数ではありません"
std::string notFloat(std::string_view value);     // "'%s' は浮動小数点数ではありません"
std::string notDate(std::string_view value);      // "'%s' は日付ではありません"
std::string notTime(std::string_view value);      // "'%s' は時刻ではありません"
std::string notDateTime(std::string_view value);  // "'%s' は日付または時刻ではありません"
inline constexpr const char* divisionByZero = "0 で除算しました";
inline constexpr const char* invalidFloatOperation = "無効な浮動小数点演算です";
inline constexpr const char* floatOverflow = "浮動小数点演算でオーバーフローしました";
inline constexpr const char* intOverflow = "整数演算でオーバーフローしました";
inline constexpr const char* invalidDateEncode = "日付のエンコードに無効な引数があります";
inline constexpr const char* invalidTimeEncode = "時刻のエンコードに無効な引数があります";
std::string listIndex(long long index);  // "リストのインデックスが範囲を超えています (%d)"
std::string cannotOpenFile(std::string_view path);    // "ファイル '%s' を開けません"
std::string cannotCreateFile(std::string_view path);  // "ファイル '%s' を作成できません"
std::string cannotReadFile(std::string_view path);    // "ファイル '%s' を読み込めません"
std::string cannotWriteFile(std::string_view path);   // "ファイル '%s' に書き込めません"
}  // namespace msg

}  // namespace rtl
