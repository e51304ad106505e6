// The dataset filter. Two kinds of input, chosen by the first byte:
//  - any text: setFilter either applies it or raises rtl::DatabaseError, and
//    a refused filter leaves the dataset exactly as it was (rows, cursor,
//    the old filter), so that refresh() and navigation go on working;
//  - a filter generated from the bytes as a tree, written out as text with
//    random case, blanks and brackets: the rows the dataset shows must be
//    the rows a second, independent evaluator of that tree picks, and a
//    text nested or chained past the depth limit must be refused.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/connection.h"
#include "db/jet.h"
#include "db/table.h"
#include "fuzz.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"

namespace {

constexpr int kDepthLimit = 1000;  // the deepest filter the dataset takes

// The table every input filters: K numbers the rows and is only used for
// the long chains; the other columns hold NULLs, case and hyphen variants.
struct Row {
    int k;
    std::optional<long long> id;
    std::optional<std::string> name;
    std::optional<double> d;  // days since 1899-12-30
    std::optional<double> x;
};
const std::vector<Row>& rows() {
    static const std::vector<Row> r = {
        {1, 1, "abc", rtl::encodeDate(2026, 1, 15), 1.5},
        {2, 2, "ABC", rtl::encodeDateTime(2026, 1, 15, 8, 30, 0), -2.0},
        {3, 3, "a-b", rtl::encodeDate(2025, 12, 31), 0.0},
        {4, std::nullopt, "", std::nullopt, 1e-3},
        {5, 12, std::nullopt, rtl::encodeDate(2026, 2, 1), std::nullopt},
        {6, -7, "山田", rtl::encodeDate(1999, 3, 9), 100.25},
        {7, 2, "ab", rtl::encodeDate(2026, 1, 16), 2.0},
    };
    return r;
}

struct Fixture {
    fuzz::ScratchFolder dir{"filter"};
    db::Connection conn;
    std::unique_ptr<db::Table> table;

    Fixture() {
        const std::string path = (dir.path() / "filter.mdb").string();
        db::Connection::createDatabaseFile(path, true);
        conn.setDatabasePath(path);
        conn.execute("CREATE TABLE t (K Integer, ID Integer, NAME Varchar(20), D DateTime, X Double)");
        for (const Row& r : rows()) {
            auto opt = [](const auto& v) { return v ? db::Value(*v) : db::Value(); };
            conn.execute("INSERT INTO t VALUES (?, ?, ?, ?, ?)",
                         {db::Value(static_cast<long long>(r.k)), opt(r.id), opt(r.name), opt(r.d), opt(r.x)});
        }
        table = std::make_unique<db::Table>(&conn);
        table->setTableName("t");
        table->open();
        table->setFiltered(true);
    }
    ~Fixture() {
        table.reset();
        conn.close();
    }
};

// What a caller can see of the dataset.
struct State {
    int count, recNo;
    bool eof, bof;
    std::string filter;
    std::vector<int> shown;  // K of every visible row
    bool operator==(const State&) const = default;
    // refresh() keeps the row but not the end-of-data flags.
    bool sameRows(const State& o) const {
        return count == o.count && recNo == o.recNo && filter == o.filter && shown == o.shown;
    }
};
State stateOf(db::Table& t) {
    State s{t.recordCount(), t.recNo(), t.eof(), t.bof(), t.filter(), {}};
    for (t.first(); !t.eof(); t.next()) s.shown.push_back(t.fieldByName("K").asInteger());
    // Back where it was: the callers put the cursor on the last row.
    if (s.eof) t.last();
    else if (s.recNo > 0) t.setRecNo(s.recNo);
    return s;
}

// ---- the generated filter ------------------------------------------------------

struct Node {
    enum Kind { And, Or, Cmp, IsNull, NotNull } kind = Cmp;
    std::unique_ptr<Node> l, r;
    int field = 0;  // 0 ID, 1 NAME, 2 D, 3 X
    int op = 0;     // = <> < <= > >=
    std::string literal;
    double number = 0;  // the literal's value for ID, D, X
    bool bareNull = false;
};

const char* const kFields[] = {"ID", "NAME", "D", "X"};
const char* const kOps[] = {"=", "<>", "<", "<=", ">", ">="};

struct Literal {
    const char* text;
    double value;
};
const std::vector<Literal>& literalsOf(int field) {
    static const std::vector<Literal> numbers = {{"1", 1},   {"2", 2},       {"'12'", 12},
                                                 {"-7", -7}, {"2.0", 2},     {"1.5", 1.5},
                                                 {"0", 0},   {"1e-3", 1e-3}, {"'100.25'", 100.25}};
    static const std::vector<Literal> texts = {{"'abc'", 0}, {"'ABC'", 0},  {"'a-b'", 0}, {"'ab'", 0},
                                               {"''", 0},    {"'山田'", 0}, {"abc", 0},   {"\"a-b\"", 0}};
    static const std::vector<Literal> dates = {
        {"'26/01/15'", rtl::encodeDate(2026, 1, 15)},
        {"#2026/01/15 08:30:00#", rtl::encodeDateTime(2026, 1, 15, 8, 30, 0)},
        {"'2025/12/31'", rtl::encodeDate(2025, 12, 31)},
        {"'99/03/09'", rtl::encodeDate(1999, 3, 9)},
        {"#26/02/01#", rtl::encodeDate(2026, 2, 1)},
    };
    return field == 1 ? texts : field == 2 ? dates : numbers;
}

std::string unquoted(const std::string& lit) {
    if (lit.size() >= 2 && (lit[0] == '\'' || lit[0] == '"' || lit[0] == '#')) return lit.substr(1, lit.size() - 2);
    return lit;
}

std::unique_ptr<Node> generate(fuzz::Input& in, int depth) {
    auto n = std::make_unique<Node>();
    const uint8_t b = in.byte();
    if (depth < 6 && in.left() > 0 && b % 3 == 0) {
        n->kind = b & 8 ? Node::Or : Node::And;
        n->l = generate(in, depth + 1);
        n->r = generate(in, depth + 1);
        return n;
    }
    n->field = (b >> 2) % 4;
    if ((b >> 4) % 8 == 0) {
        n->kind = b & 0x80 ? Node::NotNull : Node::IsNull;
        n->bareNull = in.flag();
        return n;
    }
    n->op = in.byte() % 6;
    const auto& pool = literalsOf(n->field);
    const Literal& lit = pool[in.byte() % pool.size()];
    n->literal = lit.text;
    n->number = lit.value;
    return n;
}

int depthOf(const Node& n) {
    if (n.kind == Node::And || n.kind == Node::Or) return 1 + std::max(depthOf(*n.l), depthOf(*n.r));
    return 1;
}

std::string cased(const char* word, fuzz::Input& in) {
    std::string w = word;
    const uint8_t mask = in.byte();
    for (size_t i = 0; i < w.size(); ++i)
        if (mask >> (i % 8) & 1) w[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(w[i])));
    return w;
}

std::string blank(fuzz::Input& in) { return in.byte() % 4 == 0 ? "  " : " "; }

std::string render(const Node& n, fuzz::Input& in) {
    switch (n.kind) {
    case Node::And:
    case Node::Or: {
        // Children of a binary node are always bracketed, so the text has
        // the tree's shape whatever AND's precedence over OR.
        return "(" + render(*n.l, in) + ")" + blank(in) + cased(n.kind == Node::And ? "AND" : "OR", in) + blank(in) +
               "(" + render(*n.r, in) + ")";
    }
    case Node::IsNull:
    case Node::NotNull:
        if (n.bareNull)
            return std::string(kFields[n.field]) + blank(in) + (n.kind == Node::IsNull ? "=" : "<>") + blank(in) +
                   cased("NULL", in);
        return std::string(kFields[n.field]) + " " + cased("IS", in) + " " +
               (n.kind == Node::NotNull ? cased("NOT", in) + " " : "") + cased("NULL", in);
    case Node::Cmp: {
        const std::string f = in.flag() ? "[" + std::string(kFields[n.field]) + "]" : kFields[n.field];
        const bool tight = in.flag();
        return f + (tight ? "" : " ") + kOps[n.op] + (tight ? "" : " ") + n.literal;
    }
    }
    return {};
}

// The second evaluator: NULL never compares; numbers and dates as doubles,
// text with the Jet collation.
bool evaluate(const Node& n, const Row& row) {
    switch (n.kind) {
    case Node::And: return evaluate(*n.l, row) && evaluate(*n.r, row);
    case Node::Or: return evaluate(*n.l, row) || evaluate(*n.r, row);
    case Node::IsNull:
    case Node::NotNull: {
        const bool null = n.field == 0 ? !row.id : n.field == 1 ? !row.name : n.field == 2 ? !row.d : !row.x;
        return (n.kind == Node::IsNull) == null;
    }
    case Node::Cmp: break;
    }
    int c;
    if (n.field == 1) {
        if (!row.name) return false;
        c = db::jetCompare(*row.name, unquoted(n.literal));
    } else {
        double v;
        if (n.field == 0 && row.id) v = static_cast<double>(*row.id);
        else if (n.field == 2 && row.d) v = *row.d;
        else if (n.field == 3 && row.x) v = *row.x;
        else return false;
        c = v < n.number ? -1 : v > n.number ? 1 : 0;
    }
    switch (n.op) {
    case 0: return c == 0;
    case 1: return c != 0;
    case 2: return c < 0;
    case 3: return c <= 0;
    case 4: return c > 0;
    default: return c >= 0;
    }
}

// What a filter text must do: anything but a crash or a half-applied
// refusal (raw text), be refused, or show these rows.
enum class Expect { Anything, Refusal, Rows };

// Applies `text` and checks the outcome.
void apply(db::Table& t, const std::string& text, Expect expect, const std::vector<int>& shown = {}) {
    t.setFilter("K >= 3");
    t.last();
    const State before = stateOf(t);
    try {
        t.setFilter(text);
    } catch (const rtl::DatabaseError&) {
        fuzz::check(stateOf(t) == before, "a refused filter changed the dataset");
        t.refresh();
        fuzz::check(stateOf(t).sameRows(before), "refresh after a refused filter changed the dataset");
        fuzz::check(expect != Expect::Rows, "a sound filter was refused: " + text.substr(0, 200));
        return;
    }
    fuzz::check(expect != Expect::Refusal, "a filter past the depth limit was taken");
    const State after = stateOf(t);
    fuzz::check(after.count <= static_cast<int>(rows().size()), "more rows than the table");
    fuzz::check(after.count == 0 ? after.eof && after.recNo == 0 : after.recNo == 1, "cursor not on the first row");
    if (expect == Expect::Rows)
        fuzz::check(after.shown == shown, "the filter shows other rows than its meaning: " + text.substr(0, 200));
    t.refresh();
    fuzz::check(stateOf(t).shown == after.shown, "refresh changed the filtered rows");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static rtl::ScopedTestClock clock(rtl::encodeDateTime(2026, 6, 15, 12, 0, 0));
    static Fixture fx;
    db::Table& t = *fx.table;
    fuzz::Input in(data, size);
    const uint8_t mode = in.byte();
    if (mode % 2 == 0) {
        apply(t, in.rest(), Expect::Anything);
        return 0;
    }

    const auto tree = generate(in, 0);
    std::string text = render(*tree, in);
    int depth = depthOf(*tree);
    const uint8_t extra = in.byte();
    const int count = static_cast<int>(in.take<uint16_t>() % 1100);
    if (extra % 4 == 1) {
        // Wrapped in many brackets.
        text = std::string(static_cast<size_t>(count), '(') + text + std::string(static_cast<size_t>(count), ')');
    } else if (extra % 4 == 2) {
        // A long chain of always-true comparisons: each link is one more
        // level of the tree.
        text = "(" + text + ")";
        for (int i = 0; i < count; ++i) text += " AND K >= 0";
        depth += count;
    }
    int nesting = 0, open = 0;
    for (char c : text) {
        if (c == '(') nesting = std::max(nesting, ++open);
        if (c == ')') --open;
    }
    if (depth > kDepthLimit || nesting > kDepthLimit) {
        apply(t, text, Expect::Refusal);
        return 0;
    }
    std::vector<int> shown;
    for (const Row& r : rows())
        if (evaluate(*tree, r)) shown.push_back(r.k);
    apply(t, text, Expect::Rows, shown);
    return 0;
}
