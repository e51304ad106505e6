#include "db/jet.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cmath>

#include "internal.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace db {

using detail::foldText;

namespace detail {

std::u32string foldText(std::string_view s) {
    std::u32string out = rtl::toUtf32(s);
    for (char32_t& cp : out) {
        if (cp >= 'A' && cp <= 'Z') cp += 'a' - 'A';
        else if (cp >= 0xFF21 && cp <= 0xFF3A) cp += 0x20;  // full-width Latin capitals
    }
    return out;
}

}  // namespace detail

namespace {

bool ignoredFirstPass(char32_t c) { return c == U'-' || c == U'\''; }

int compareFolded(const std::u32string& a, const std::u32string& b, bool skip) {
    size_t i = 0, j = 0;
    for (;;) {
        if (skip) {
            while (i < a.size() && ignoredFirstPass(a[i])) ++i;
            while (j < b.size() && ignoredFirstPass(b[j])) ++j;
        }
        bool ea = i >= a.size(), eb = j >= b.size();
        if (ea || eb) return ea && eb ? 0 : (ea ? -1 : 1);
        if (a[i] != b[j]) return a[i] < b[j] ? -1 : 1;
        ++i;
        ++j;
    }
}

int collationCallback(void*, int n1, const void* p1, int n2, const void* p2) {
    return jetCompare(std::string_view(static_cast<const char*>(p1), n1),
                      std::string_view(static_cast<const char*>(p2), n2));
}

template <class F>
void guarded(sqlite3_context* ctx, F&& f) {
    try {
        f();
    } catch (const std::exception& e) {
        sqlite3_result_error(ctx, e.what(), -1);
    }
}

void sqlCvDate(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] { detail::resultValue(ctx, cvDate(detail::fromSqlite(argv[0]))); });
}

void sqlCInt(sqlite3_context* ctx, int, sqlite3_value** argv) {
    guarded(ctx, [&] { sqlite3_result_int64(ctx, cInt(detail::fromSqlite(argv[0]))); });
}

}  // namespace

int jetCompare(std::string_view a, std::string_view b) {
    if (a == b) return 0;
    std::u32string fa = foldText(a), fb = foldText(b);
    int r = compareFolded(fa, fb, true);
    if (r != 0) return r;
    // A tie: the text without the ignored marks first ("coop" < "co-op"),
    // then character by character.
    auto marks = [](const std::u32string& s) { return std::count_if(s.begin(), s.end(), ignoredFirstPass); };
    const auto ma = marks(fa), mb = marks(fb);
    if (ma != mb) return ma < mb ? -1 : 1;
    return compareFolded(fa, fb, false);
}

Value cvDate(const Value& v) {
    if (v.isNull()) return {};
    if (v.isNumber()) return Value(v.real());
    return Value(rtl::strToDateTime(v.text()));
}

long long cInt(const Value& v) {
    if (v.isNull()) throw rtl::ConversionError("Null の使い方が不正です");
    double d;
    if (v.isInteger()) {
        long long n = v.integer();
        if (n < INT32_MIN || n > INT32_MAX) throw rtl::ConversionError("オーバーフローしました");
        return n;
    }
    if (v.isFloat()) {
        d = v.real();
    } else {
        std::string_view t = rtl::trimView(v.text());
        if (t.empty() || !rtl::tryStrToFloat(t, d))
            throw rtl::ConversionError("型が一致しません ('" + v.text() + "' は数値ではありません)");
    }
    if (!std::isfinite(d) || d < -2147483648.5 || d >= 2147483647.5)
        throw rtl::ConversionError("オーバーフローしました");
    long long r = rtl::roundBankers(d);
    if (r < INT32_MIN || r > INT32_MAX) throw rtl::ConversionError("オーバーフローしました");
    return r;
}

void installJetDialect(sqlite3* h) {
    sqlite3_create_collation(h, JetCollation, SQLITE_UTF8, nullptr, collationCallback);
    const int flags = SQLITE_UTF8 | SQLITE_INNOCUOUS;
    sqlite3_create_function(h, "CvDate", 1, flags, nullptr, sqlCvDate, nullptr, nullptr);
    sqlite3_create_function(h, "CInt", 1, flags, nullptr, sqlCInt, nullptr, nullptr);
    sqlite3_create_function(h, "CLng", 1, flags, nullptr, sqlCInt, nullptr, nullptr);
}

// ---- types ---------------------------------------------------------------

bool parseJetType(std::string_view type, FieldKind& kind, int& width) {
    std::string t = rtl::upperCase(rtl::trimView(type));
    int w = -1;
    auto open = t.find('(');
    std::string base = t;
    if (open != std::string::npos) {
        auto close = t.find(')', open);
        if (close == std::string::npos) return false;
        std::string num(rtl::trimView(std::string_view(t).substr(open + 1, close - open - 1)));
        auto comma = num.find(',');
        if (comma != std::string::npos) num = num.substr(0, comma);
        int32_t n;
        if (!rtl::tryStrToInt(rtl::trimView(num), n) || n < 0) return false;
        w = n;
        base = std::string(rtl::trimView(std::string_view(t).substr(0, open)));
    }
    width = 0;
    if (base == "INTEGER" || base == "INT" || base == "LONG" || base == "COUNTER" || base == "AUTOINCREMENT" ||
        base == "INTEGER4" || base == "BIGINT") {
        kind = FieldKind::Long;
    } else if (base == "SMALLINT" || base == "SHORT" || base == "BYTE" || base == "TINYINT" || base == "INTEGER2" ||
               base == "BIT" || base == "YESNO") {
        kind = FieldKind::Short;
    } else if (base == "DOUBLE" || base == "FLOAT" || base == "REAL" || base == "SINGLE" || base == "CURRENCY" ||
               base == "MONEY" || base == "NUMERIC" || base == "DECIMAL" || base == "NUMBER" || base == "FLOAT8" ||
               base == "FLOAT4" || base == "DOUBLE PRECISION") {
        kind = FieldKind::Double;
    } else if (base == "DATETIME REAL" || base == "DATETIME" || base == "DATE" || base == "TIME" ||
               base == "TIMESTAMP") {
        kind = FieldKind::DateTime;
    } else if (base == "VARCHAR" || base == "TEXT" || base == "NVARCHAR" || base == "STRING" ||
               base == "ALPHANUMERIC" || base == "CHARACTER VARYING") {
        // A text column holds at least one character: a written width of 0
        // would declare a column without any width check.
        if (w == 0) return false;
        kind = FieldKind::Text;
        width = w > 0 ? w : 255;
    } else if (base == "CHAR" || base == "CHARACTER" || base == "NCHAR") {
        if (w == 0) return false;
        kind = FieldKind::FixedText;
        width = w > 0 ? w : 1;
    } else if (base == "MEMO" || base == "LONGTEXT" || base == "LONGCHAR" || base == "NOTE" || base == "CLOB") {
        kind = FieldKind::Text;
        width = 0;
    } else {
        return false;
    }
    return true;
}

std::string quoteIdentifier(std::string_view name) {
    std::string r = "\"";
    for (char c : name) {
        if (c == '"') r += '"';
        r += c;
    }
    return r + "\"";
}

std::string quoted(std::string_view text) { return rtl::quotedStr(text); }

std::string escaped(std::string_view text) { return rtl::replaceAll(text, "'", "''"); }

namespace {

std::string constraintName(std::string_view text) { return quoteIdentifier(text); }

}  // namespace

std::string sqliteColumnDefinition(const ColumnSpec& c) {
    const std::string q = quoteIdentifier(c.name);
    std::string type;
    std::string check;
    std::string message;
    const std::string col = "列 '" + c.name + "' ";
    switch (c.kind) {
    case FieldKind::Long:
        type = c.primaryKey ? "INT" : "INTEGER";
        check = q + " IS NULL OR (typeof(" + q + ") IN ('integer','real') AND " + q + " >= -2147483648.5 AND " + q +
                " < 2147483647.5)";
        message = col + "には -2147483648 から 2147483647 の整数しか書き込めません";
        break;
    case FieldKind::Short:
        type = "SMALLINT";
        check = q + " IS NULL OR (typeof(" + q + ") IN ('integer','real') AND " + q + " >= -32768.5 AND " + q +
                " < 32767.5)";
        message = col + "には -32768 から 32767 の整数しか書き込めません";
        break;
    case FieldKind::Double:
        type = "DOUBLE";
        check = q + " IS NULL OR typeof(" + q + ") IN ('integer','real')";
        message = col + "には数値しか書き込めません";
        break;
    case FieldKind::DateTime:
        type = "DATETIME REAL";  // REAL affinity: midnight stays a double
        check = q + " IS NULL OR typeof(" + q + ") IN ('integer','real','text')";
        message = col + "には日付しか書き込めません";
        break;
    case FieldKind::Text:
    case FieldKind::FixedText:
        type = c.kind == FieldKind::Text ? "VARCHAR" : "CHAR";
        if (c.width > 0) {
            type += "(" + std::to_string(c.width) + ")";
            check = q + " IS NULL OR length(" + q + ") <= " + std::to_string(c.width);
            message = col + "の値が幅 " + std::to_string(c.width) + " 文字を超えています";
        } else if (c.kind == FieldKind::Text) {
            type = "LONGTEXT";  // TEXT affinity, no width
        }
        break;
    }
    std::string r = q + " " + type;
    if (c.notNull || c.primaryKey) r += " NOT NULL";
    if (c.primaryKey) r += " PRIMARY KEY";
    if (isTextKind(c.kind)) r += std::string(" COLLATE ") + JetCollation;
    if (!check.empty()) r += " CONSTRAINT " + constraintName(message) + " CHECK (" + check + ")";
    return r;
}

// ---- DDL parsing -------------------------------------------------------------

namespace {

struct Token {
    enum Kind { Word, Quoted, Number, Punct, End } kind = End;
    std::string text;  // identifier without its quotes; punctuation character
};

class Lexer {
public:
    explicit Lexer(std::string_view s) : s_(s) {}
    Token next() {
        skip();
        Token t;
        if (i_ >= s_.size()) return t;
        char c = s_[i_];
        if (c == '[' || c == '"' || c == '`') {
            char close = c == '[' ? ']' : c;
            size_t j = i_ + 1;
            std::string text;
            while (j < s_.size()) {
                if (s_[j] == close) {
                    if (close != ']' && j + 1 < s_.size() && s_[j + 1] == close) {
                        text += close;
                        j += 2;
                        continue;
                    }
                    break;
                }
                text += s_[j++];
            }
            if (j >= s_.size()) bad("閉じられていない識別子があります");
            i_ = j + 1;
            t.kind = Token::Quoted;
            t.text = text;
            return t;
        }
        if (std::isdigit(static_cast<unsigned char>(c))) {
            size_t j = i_;
            while (j < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j]))) ++j;
            t.kind = Token::Number;
            t.text = std::string(s_.substr(i_, j - i_));
            i_ = j;
            return t;
        }
        if (isWordChar(c)) {
            size_t j = i_;
            while (j < s_.size() && isWordChar(s_[j])) ++j;
            t.kind = Token::Word;
            t.text = std::string(s_.substr(i_, j - i_));
            i_ = j;
            return t;
        }
        t.kind = Token::Punct;
        t.text = std::string(1, c);
        ++i_;
        return t;
    }
    Token peek() {
        size_t save = i_;
        Token t = next();
        i_ = save;
        return t;
    }
    [[noreturn]] static void bad(const std::string& why) {
        throw rtl::DatabaseError("DDL 文の構文が正しくありません: " + why);
    }

private:
    static bool isWordChar(char c) {
        unsigned char u = static_cast<unsigned char>(c);
        return u >= 0x80 || std::isalnum(u) || c == '_' || c == '$';
    }
    void skip() {
        for (;;) {
            while (i_ < s_.size() && std::isspace(static_cast<unsigned char>(s_[i_]))) ++i_;
            if (i_ + 1 < s_.size() && s_[i_] == '-' && s_[i_ + 1] == '-') {
                while (i_ < s_.size() && s_[i_] != '\n') ++i_;
                continue;
            }
            if (i_ + 1 < s_.size() && s_[i_] == '/' && s_[i_ + 1] == '*') {
                auto e = s_.find("*/", i_ + 2);
                i_ = e == std::string_view::npos ? s_.size() : e + 2;
                continue;
            }
            break;
        }
    }
    std::string_view s_;
    size_t i_ = 0;
};

bool isKeyword(const Token& t, const char* kw) { return t.kind == Token::Word && detail::sameName(t.text, kw); }

void expect(Lexer& lx, const char* kw) {
    Token t = lx.next();
    if (!isKeyword(t, kw) && !(t.kind == Token::Punct && t.text == kw))
        Lexer::bad(std::string("'") + kw + "' がありません");
}

std::string identifier(Lexer& lx) {
    Token t = lx.next();
    if (t.kind != Token::Word && t.kind != Token::Quoted) Lexer::bad("名前がありません");
    // owner.name: keep the last part
    while (lx.peek().kind == Token::Punct && lx.peek().text == ".") {
        lx.next();
        Token u = lx.next();
        if (u.kind != Token::Word && u.kind != Token::Quoted) Lexer::bad("名前がありません");
        t = u;
    }
    return t.text;
}

ColumnSpec columnSpec(Lexer& lx) {
    ColumnSpec c;
    c.name = identifier(lx);
    // The type: one or two words, then an optional (n[,m]).
    Token t = lx.next();
    if (t.kind != Token::Word) Lexer::bad("列 '" + c.name + "' の型がありません");
    std::string type = t.text;
    if ((detail::sameName(type, "DOUBLE") && isKeyword(lx.peek(), "PRECISION")) ||
        (detail::sameName(type, "CHARACTER") && isKeyword(lx.peek(), "VARYING")) ||
        (detail::sameName(type, "DATETIME") && isKeyword(lx.peek(), "REAL"))) {
        type += " " + lx.next().text;
    }
    if (lx.peek().kind == Token::Punct && lx.peek().text == "(") {
        lx.next();
        type += "(";
        for (;;) {
            Token u = lx.next();
            if (u.kind == Token::End) Lexer::bad("')' がありません");
            if (u.kind == Token::Punct && u.text == ")") break;
            type += u.text;
        }
        type += ")";
    }
    if (!parseJetType(type, c.kind, c.width))
        throw rtl::DatabaseError("列 '" + c.name + "' の型 '" + type + "' はサポートされていません");
    for (;;) {
        Token p = lx.peek();
        if (isKeyword(p, "NOT")) {
            lx.next();
            expect(lx, "NULL");
            c.notNull = true;
        } else if (isKeyword(p, "NULL")) {
            lx.next();
        } else if (isKeyword(p, "PRIMARY")) {
            lx.next();
            expect(lx, "KEY");
            c.primaryKey = true;
        } else if (isKeyword(p, "CONSTRAINT")) {
            // CONSTRAINT name PRIMARY KEY
            lx.next();
            identifier(lx);
        } else {
            break;
        }
    }
    return c;
}

}  // namespace

DdlPlan parseJetDdl(std::string_view sql) {
    DdlPlan plan;
    Lexer lx(sql);
    Token a = lx.next();
    Token b = lx.next();
    auto finish = [&] {
        Token e = lx.next();
        while (e.kind == Token::Punct && e.text == ";") e = lx.next();
        if (e.kind != Token::End) Lexer::bad("'" + e.text + "' の前で文が終わっていません");
    };
    if (isKeyword(a, "CREATE") && isKeyword(b, "TABLE")) {
        plan.kind = DdlPlan::Kind::CreateTable;
        plan.table = identifier(lx);
        expect(lx, "(");
        for (;;) {
            plan.columns.push_back(columnSpec(lx));
            Token t = lx.next();
            if (t.kind == Token::Punct && t.text == ",") continue;
            if (t.kind == Token::Punct && t.text == ")") break;
            Lexer::bad("列定義のあとに ',' か ')' が必要です");
        }
        finish();
    } else if (isKeyword(a, "ALTER") && isKeyword(b, "TABLE")) {
        plan.table = identifier(lx);
        Token op = lx.next();
        if (isKeyword(lx.peek(), "COLUMN")) lx.next();
        if (isKeyword(op, "ADD")) {
            plan.kind = DdlPlan::Kind::AlterAdd;
            for (;;) {
                plan.columns.push_back(columnSpec(lx));
                if (lx.peek().kind == Token::Punct && lx.peek().text == ",") {
                    lx.next();
                    if (isKeyword(lx.peek(), "COLUMN")) lx.next();
                    continue;
                }
                break;
            }
        } else if (isKeyword(op, "DROP")) {
            plan.kind = DdlPlan::Kind::AlterDrop;
            for (;;) {
                plan.dropped.push_back(identifier(lx));
                if (lx.peek().kind == Token::Punct && lx.peek().text == ",") {
                    lx.next();
                    if (isKeyword(lx.peek(), "COLUMN")) lx.next();
                    continue;
                }
                break;
            }
        } else {
            return DdlPlan{};  // other ALTER forms run as written
        }
        finish();
    } else if (isKeyword(a, "DROP") && isKeyword(b, "TABLE")) {
        plan.kind = DdlPlan::Kind::DropTable;
        plan.table = identifier(lx);
        finish();
    }
    return plan;
}

std::string sqliteCreateTable(const DdlPlan& plan) {
    std::string r = "CREATE TABLE " + quoteIdentifier(plan.table) + " (\n";
    for (size_t i = 0; i < plan.columns.size(); ++i) {
        r += "  " + sqliteColumnDefinition(plan.columns[i]);
        r += i + 1 < plan.columns.size() ? ",\n" : "\n";
    }
    return r + ")";
}

std::vector<std::string> sqliteKindTriggers(const std::string& table, const std::vector<ColumnSpec>& columns) {
    const std::string qt = quoteIdentifier(table);
    const std::string insName = quoteIdentifier("jet_kinds_ins_" + table);
    const std::string updName = quoteIdentifier("jet_kinds_upd_" + table);
    std::vector<std::string> out{"DROP TRIGGER IF EXISTS " + insName, "DROP TRIGGER IF EXISTS " + updName};
    std::string when, set;
    for (const auto& c : columns) {
        const std::string q = quoteIdentifier(c.name);
        const char* from = nullptr;
        const char* fn = nullptr;
        if (c.kind == FieldKind::DateTime) {
            from = "text";
            fn = "CvDate";
        } else if (isIntegerKind(c.kind)) {
            from = "real";
            fn = "CLng";
        } else continue;
        if (!when.empty()) when += " OR ";
        when += std::string("typeof(NEW.") + q + ")='" + from + "'";
        if (!set.empty()) set += ", ";
        set += q + " = CASE WHEN typeof(" + q + ")='" + from + "' THEN " + fn + "(" + q + ") ELSE " + q + " END";
    }
    if (set.empty()) return out;
    const std::string body =
        " FOR EACH ROW WHEN " + when + " BEGIN UPDATE " + qt + " SET " + set + " WHERE rowid = NEW.rowid; END";
    out.push_back("CREATE TRIGGER " + insName + " AFTER INSERT ON " + qt + body);
    out.push_back("CREATE TRIGGER " + updName + " AFTER UPDATE ON " + qt + body);
    return out;
}

}  // namespace db
