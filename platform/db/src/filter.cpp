#include "filter.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>

#include "db/jet.h"
#include "internal.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace db::detail {

namespace {

struct Tok {
    enum Kind { Name, Quoted, Op, LParen, RParen, End } kind = End;
    std::string text;
};

class FilterLexer {
public:
    explicit FilterLexer(std::string_view s) : s_(s) {}
    Tok next() {
        while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
        Tok t;
        if (i_ >= s_.size()) return t;
        char c = s_[i_];
        if (c == '(') {
            ++i_;
            t.kind = Tok::LParen;
            return t;
        }
        if (c == ')') {
            ++i_;
            t.kind = Tok::RParen;
            return t;
        }
        if (c == '=' || c == '<' || c == '>' || c == '!') {
            std::string op(1, c);
            ++i_;
            if (i_ < s_.size() && (s_[i_] == '=' || (c == '<' && s_[i_] == '>'))) op += s_[i_++];
            if (op == "!") bad();
            if (op == "!=") op = "<>";
            t.kind = Tok::Op;
            t.text = op;
            return t;
        }
        if (c == '\'' || c == '"' || c == '#') {
            ++i_;
            std::string text;
            for (;;) {
                if (i_ >= s_.size()) bad();
                if (s_[i_] == c) {
                    if (c != '#' && i_ + 1 < s_.size() && s_[i_ + 1] == c) {
                        text += c;
                        i_ += 2;
                        continue;
                    }
                    ++i_;
                    break;
                }
                text += s_[i_++];
            }
            t.kind = Tok::Quoted;
            t.text = text;
            return t;
        }
        if (c == '[') {
            auto e = s_.find(']', i_);
            if (e == std::string_view::npos) bad();
            t.kind = Tok::Name;
            t.text = std::string(s_.substr(i_ + 1, e - i_ - 1));
            i_ = e + 1;
            return t;
        }
        size_t j = i_;
        while (j < s_.size()) {
            char d = s_[j];
            if (std::isspace(static_cast<unsigned char>(d)) || d == '(' || d == ')' || d == '=' || d == '<' ||
                d == '>' || d == '!' || d == '\'')
                break;
            ++j;
        }
        t.kind = Tok::Name;
        t.text = std::string(s_.substr(i_, j - i_));
        i_ = j;
        return t;
    }
    [[noreturn]] void bad() const { throw rtl::DatabaseError("フィルタの式が正しくありません: " + std::string(s_)); }
    [[noreturn]] void tooDeep() const {
        throw rtl::DatabaseError("フィルタの式が深すぎます（括弧と AND / OR の連なりは " +
                                 std::to_string(kMaxFilterDepth) + " 段まで）");
    }

private:
    std::string_view s_;
    size_t i_ = 0;
};

class FilterParser {
public:
    explicit FilterParser(std::string_view s) : lx_(s) { advance(); }
    std::shared_ptr<FilterNode> parse() {
        auto n = orExpr();
        if (cur_.kind != Tok::End) lx_.bad();
        return n;
    }

private:
    void advance() { cur_ = lx_.next(); }
    bool isWord(const char* w) const { return cur_.kind == Tok::Name && sameName(cur_.text, w); }
    std::shared_ptr<FilterNode> orExpr() {
        auto l = andExpr();
        while (isWord("OR")) {
            advance();
            auto n = std::make_shared<FilterNode>();
            n->type = FilterNode::Type::Or;
            n->left = l;
            n->right = andExpr();
            n->depth = 1 + std::max(n->left->depth, n->right->depth);
            if (n->depth > kMaxFilterDepth) lx_.tooDeep();
            l = n;
        }
        return l;
    }
    std::shared_ptr<FilterNode> andExpr() {
        auto l = factor();
        while (isWord("AND")) {
            advance();
            auto n = std::make_shared<FilterNode>();
            n->type = FilterNode::Type::And;
            n->left = l;
            n->right = factor();
            n->depth = 1 + std::max(n->left->depth, n->right->depth);
            if (n->depth > kMaxFilterDepth) lx_.tooDeep();
            l = n;
        }
        return l;
    }
    std::shared_ptr<FilterNode> factor() {
        if (cur_.kind == Tok::LParen) {
            // Bounded before recursing, so no text can exhaust the stack.
            if (++nesting_ > kMaxFilterDepth) lx_.tooDeep();
            advance();
            auto n = orExpr();
            --nesting_;
            if (cur_.kind != Tok::RParen) lx_.bad();
            advance();
            return n;
        }
        if (cur_.kind != Tok::Name || cur_.text.empty()) lx_.bad();
        auto n = std::make_shared<FilterNode>();
        n->field = cur_.text;
        advance();
        if (isWord("IS")) {
            advance();
            n->type = FilterNode::Type::IsNull;
            if (isWord("NOT")) {
                n->type = FilterNode::Type::NotNull;
                advance();
            }
            if (!isWord("NULL")) lx_.bad();
            advance();
            return n;
        }
        if (cur_.kind != Tok::Op) lx_.bad();
        const std::string op = cur_.text;
        if (op == "=") n->op = FilterNode::Op::Eq;
        else if (op == "<>") n->op = FilterNode::Op::Ne;
        else if (op == "<") n->op = FilterNode::Op::Lt;
        else if (op == "<=") n->op = FilterNode::Op::Le;
        else if (op == ">") n->op = FilterNode::Op::Gt;
        else if (op == ">=") n->op = FilterNode::Op::Ge;
        else lx_.bad();
        advance();
        if (cur_.kind == Tok::Quoted) {
            n->literal = cur_.text;
        } else if (cur_.kind == Tok::Name) {
            if (sameName(cur_.text, "NULL")) {
                if (n->op != FilterNode::Op::Eq && n->op != FilterNode::Op::Ne) lx_.bad();
                n->type = n->op == FilterNode::Op::Eq ? FilterNode::Type::IsNull : FilterNode::Type::NotNull;
                n->nullLiteral = true;
            }
            n->literal = cur_.text;
        } else {
            lx_.bad();
        }
        advance();
        return n;
    }

    FilterLexer lx_;
    Tok cur_;
    int nesting_ = 0;
};

std::string canonicalNumber(double d) {
    if (d == 0) d = 0;  // -0
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", d);
    return buf;
}

bool numberOf(const Value& v, double& out) {
    if (v.isNumber()) {
        out = v.real();
        return true;
    }
    if (v.isText()) {
        std::string_view t = rtl::trimView(v.text());
        return !t.empty() && rtl::tryStrToFloat(t, out);
    }
    return false;
}

bool dateOf(const Value& v, double& out) {
    if (v.isNumber()) {
        out = v.real();
        return true;
    }
    if (v.isText()) return rtl::tryStrToDateTime(v.text(), out);
    return false;
}

}  // namespace

std::shared_ptr<FilterNode> parseFilter(std::string_view text) { return FilterParser(text).parse(); }

Value convertLiteral(FieldKind kind, const std::string& literal, const std::string& field) {
    double d;
    if (isNumericKind(kind)) {
        std::string_view t = rtl::trimView(literal);
        if (t.empty() || !rtl::tryStrToFloat(t, d))
            throw rtl::DatabaseError("フィルタの値 '" + literal + "' はフィールド '" + field +
                                     "' の数値になりません。");
        return Value(d);
    }
    if (kind == FieldKind::DateTime) {
        if (!rtl::tryStrToDateTime(literal, d))
            throw rtl::DatabaseError("フィルタの値 '" + literal + "' はフィールド '" + field +
                                     "' の日付になりません。");
        return Value(d);
    }
    return Value(literal);
}

std::optional<int> compareByKind(FieldKind kind, const Value& row, const Value& key) {
    if (row.isNull() || key.isNull()) return std::nullopt;
    if (isNumericKind(kind) || kind == FieldKind::DateTime) {
        double a, b;
        bool ok = kind == FieldKind::DateTime ? dateOf(row, a) && dateOf(key, b) : numberOf(row, a) && numberOf(key, b);
        if (!ok) return std::nullopt;
        return a < b ? -1 : (a > b ? 1 : 0);
    }
    return jetCompare(row.toString(), key.toString());
}

bool locateMatch(FieldKind kind, const Value& row, const Value& key, bool partial) {
    if (key.isNull()) return row.isNull();
    if (partial && isTextKind(kind)) {
        std::u32string r = foldText(row.toString()), k = foldText(key.toString());
        return !row.isNull() && r.compare(0, k.size(), k) == 0;
    }
    auto c = compareByKind(kind, row, key);
    return c && *c == 0;
}

std::optional<std::string> lookupKey(const Value& v, bool numeric) {
    if (v.isNull()) return std::nullopt;
    if (numeric) {
        double d;
        if (!numberOf(v, d)) return std::nullopt;
        return canonicalNumber(d);
    }
    std::u32string f = foldText(v.toString());
    std::string out;
    out.reserve(f.size() * 4);
    for (char32_t c : f) {
        for (int k = 3; k >= 0; --k) out += static_cast<char>((c >> (8 * k)) & 0xFF);
    }
    return out;
}

}  // namespace db::detail
