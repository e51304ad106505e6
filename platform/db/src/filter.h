// Filter text of datasets: parsing and comparison by field kind.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "db/dataset.h"

namespace db::detail {

// The deepest filter accepted: brackets nested, or comparisons chained by
// AND / OR (each link adds a level to the tree that binding and evaluation
// walk recursively). Deeper text is refused instead of exhausting the stack.
inline constexpr int kMaxFilterDepth = 1000;

struct FilterNode {
    enum class Type { And, Or, Compare, IsNull, NotNull } type = Type::Compare;
    enum class Op { Eq, Ne, Lt, Le, Gt, Ge } op = Op::Eq;
    std::shared_ptr<FilterNode> left, right;
    std::string field;
    std::string literal;
    bool nullLiteral = false;  // bare NULL: "= NULL" / "<> NULL"
    int depth = 1;             // levels of the tree below and including this node
    // bound to a dataset
    const Field* boundField = nullptr;
    Value key;
};

// Raises rtl::DatabaseError for malformed text and for text deeper than
// kMaxFilterDepth.
std::shared_ptr<FilterNode> parseFilter(std::string_view text);

// Literal text as a value of the field's kind (rtl::DatabaseError naming the
// field when it does not convert).
Value convertLiteral(FieldKind kind, const std::string& literal, const std::string& field);

// Compares a row value with a key of the field's kind; nullopt when either is
// NULL or the row value does not convert.
std::optional<int> compareByKind(FieldKind kind, const Value& row, const Value& key);

// Equality for locate(); partial = text prefix.
bool locateMatch(FieldKind kind, const Value& row, const Value& key, bool partial);

// Normalised lookup key: numbers as canonical text, text case-folded.
std::optional<std::string> lookupKey(const Value& v, bool numeric);

}  // namespace db::detail
