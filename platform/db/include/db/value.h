// Values that travel between SQLite, datasets and bound statement parameters.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <variant>
#include <vector>

namespace db {

// A column value: NULL, a 64-bit integer, a double or UTF-8 text. Date-times
// are doubles (days since 1899-12-30, rtl::TDateTime).
class Value {
public:
    Value() = default;
    Value(std::nullptr_t) {}
    Value(int v) : v_(static_cast<long long>(v)) {}
    Value(long v) : v_(static_cast<long long>(v)) {}
    Value(long long v) : v_(v) {}
    Value(unsigned v) : v_(static_cast<long long>(v)) {}
    Value(double v) : v_(v) {}
    Value(std::string v) : v_(std::move(v)) {}
    Value(std::string_view v) : v_(std::string(v)) {}
    Value(const char* v) : v_(std::string(v ? v : "")) {}
    Value(bool) = delete;  // flags are text "0"/"1" in this schema

    bool isNull() const { return v_.index() == 0; }
    bool isInteger() const { return v_.index() == 1; }
    bool isFloat() const { return v_.index() == 2; }
    bool isNumber() const { return isInteger() || isFloat(); }
    bool isText() const { return v_.index() == 3; }

    // Raw access; the caller checks the alternative first.
    long long integer() const { return std::get<1>(v_); }
    double real() const { return isInteger() ? static_cast<double>(integer()) : std::get<2>(v_); }
    const std::string& text() const { return std::get<3>(v_); }

    // Plain text for messages and tests: "" for NULL, decimal integers,
    // rtl::floatToStr for doubles, the text itself.
    std::string toString() const;

    bool operator==(const Value&) const = default;

private:
    std::variant<std::monostate, long long, double, std::string> v_;
};

// One bound statement parameter. An empty name binds by position (the n-th
// unnamed parameter binds the n-th "?"); a name binds ":name", "@name" or
// "$name" (give it with or without the leading character).
struct Param {
    template <class T>
    requires(!std::is_same_v<std::decay_t<T>, Param> && std::is_constructible_v<Value, T>) Param(T&& v)
        : value(std::forward<T>(v)) {}
    Param(std::string n, Value v) : name(std::move(n)), value(std::move(v)) {}
    std::string name;
    Value value;
};
using Params = std::vector<Param>;

// The Jet column kinds of the schema. Expression results of a query that
// carry no declared type take the kind of their values (integer -> Long,
// double -> Double, text -> Text; all NULL -> Long).
enum class FieldKind {
    Long,       // 32-bit signed integer   (Jet "Integer", "Int", "Long")
    Short,      // 16-bit signed integer   (Jet "Smallint", "Short")
    Double,     // 64-bit floating point   (Jet "Double", "Float", "Real")
    DateTime,   // days since 1899-12-30   (Jet "DateTime", "Date")
    Text,       // variable text, at most width characters (Jet "Varchar(n)", "Text(n)")
    FixedText,  // fixed text of width characters, read back unpadded (Jet "Char(n)")
};

bool isNumericKind(FieldKind k);    // Long, Short, Double
bool isIntegerKind(FieldKind k);    // Long, Short
bool isTextKind(FieldKind k);       // Text, FixedText
const char* kindName(FieldKind k);  // "Long", "Short", ... for messages and tests

}  // namespace db
