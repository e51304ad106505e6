#include "db/dataset.h"

#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <utility>

#include "db/connection.h"
#include "db/datasource.h"
#include "db/jet.h"
#include "filter.h"
#include "internal.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/format.h"
#include "rtl/rounding.h"
#include "rtl/strings.h"

namespace db {

namespace detail {

std::vector<std::string> splitNames(std::string_view names) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i <= names.size()) {
        size_t semi = names.find(';', i);
        if (semi == std::string_view::npos) semi = names.size();
        std::string_view part = rtl::trimView(names.substr(i, semi - i));
        if (!part.empty()) out.emplace_back(part);
        i = semi + 1;
    }
    return out;
}

}  // namespace detail

using detail::sameName;
using detail::splitNames;

namespace {

constexpr const char* RowidAlias = "__tallyra_rowid__";

enum class KindClass { Number, Date, Text };
KindClass classOf(FieldKind k) {
    if (isNumericKind(k)) return KindClass::Number;
    if (k == FieldKind::DateTime) return KindClass::Date;
    return KindClass::Text;
}

// "SELECT ..." -> "SELECT rowid AS __tallyra_rowid__, ...", or "" when the
// statement is not a plain single SELECT that could be written back.
std::string injectRowid(const std::string& sql) {
    size_t i = 0;
    while (i < sql.size() && std::isspace(static_cast<unsigned char>(sql[i]))) ++i;
    if (rtl::upperCase(sql.substr(i, 6)) != "SELECT") return {};
    size_t after = i + 6;
    if (after < sql.size() && !std::isspace(static_cast<unsigned char>(sql[after]))) return {};
    const std::string up = rtl::upperCase(sql);
    for (const char* kw : {"DISTINCT", "GROUP BY", "UNION", "INTERSECT", "EXCEPT", " JOIN "})
        if (up.find(kw) != std::string::npos) return {};
    return sql.substr(0, after) + " rowid AS " + RowidAlias + "," + sql.substr(after);
}

[[noreturn]] void notEditing(const std::string& name) {
    throw rtl::DatabaseError("データセット '" + name + "' は編集モードでも挿入モードでもありません。");
}

}  // namespace

// ---- Dataset: set-up ------------------------------------------------------------

Dataset::Dataset(Connection* connection, std::string name) : conn_(connection), name_(std::move(name)) {
    if (conn_) conn_->attach(this);
}

Dataset::~Dataset() {
    for (DataSource* s : sources_) s->datasetGone();
    if (conn_) conn_->detach(this);
}

void Dataset::setConnection(Connection* c) {
    if (c == conn_) return;
    close();
    if (conn_) conn_->detach(this);
    conn_ = c;
    if (conn_) conn_->attach(this);
}

void Dataset::checkInactive(const char* what) const {
    if (active())
        throw rtl::DatabaseError(std::string("開いているデータセット '") + name_ + "' では" + what + "できません。");
}

Field& Dataset::addField(const FieldDef& def) {
    checkInactive("フィールドを追加");
    auto f = std::unique_ptr<Field>(new Field());
    f->ds_ = this;
    f->name_ = def.name;
    f->kind_ = def.kind;
    f->width_ = def.width;
    f->displayFormat_ = def.displayFormat;
    f->editFormat_ = def.editFormat;
    f->role_ = FieldRole::Data;
    f->persistent_ = true;
    f->index_ = static_cast<int>(fields_.size());
    fields_.push_back(std::move(f));
    return *fields_.back();
}

Field& Dataset::addCalculatedField(const FieldDef& def) {
    Field& f = addField(def);
    f.role_ = FieldRole::Calculated;
    f.column_ = calcSlots_++;
    return f;
}

Field& Dataset::addLookupField(const LookupDef& def) {
    FieldDef fd;
    fd.name = def.name;
    fd.kind = def.kind;
    fd.width = def.width;
    fd.displayFormat = def.displayFormat;
    Field& f = addField(fd);
    f.role_ = FieldRole::Lookup;
    f.column_ = static_cast<int>(lookups_.size());
    LookupSlot slot;
    slot.def = def;
    lookups_.push_back(std::move(slot));
    return f;
}

void Dataset::clearFieldDefs() {
    checkInactive("フィールドを削除");
    fields_.clear();
    lookups_.clear();
    calcSlots_ = 0;
}

Field& Dataset::field(int index) {
    if (index < 0 || index >= fieldCount())
        throw rtl::DatabaseError("フィールド番号 " + std::to_string(index) + " は範囲外です。");
    return *fields_[static_cast<size_t>(index)];
}

Field* Dataset::findField(std::string_view name) {
    for (auto& f : fields_)
        if (sameName(f->name_, name)) return f.get();
    return nullptr;
}

Field& Dataset::fieldByName(std::string_view name) {
    if (Field* f = findField(name)) return *f;
    throw rtl::DatabaseError("フィールド '" + std::string(name) + "' が見つかりません。");
}

std::vector<std::string> Dataset::fieldNames() const {
    std::vector<std::string> out;
    for (auto& f : fields_) out.push_back(f->name_);
    return out;
}

// ---- Dataset: reading --------------------------------------------------------------

void Dataset::readRows(std::vector<Row>& rows, std::vector<Column>& cols, bool& updatable, std::string& baseTable) {
    if (!conn_) throw rtl::DatabaseError("データセット '" + name_ + "' に接続が設定されていません。");
    Params params;
    const std::string sql = selectSql(params);
    sqlite3* h = conn_->handle();

    std::unique_ptr<detail::Statement> st;
    bool withRowid = false;
    const std::string injected = injectRowid(sql);
    if (!injected.empty()) {
        st = std::make_unique<detail::Statement>(h, injected, true);
        if (st->get()) {
            withRowid = true;
        } else {
            st.reset();
        }
    }
    if (!st) st = std::make_unique<detail::Statement>(h, sql);
    sqlite3_stmt* s = st->get();
    detail::bindParams(s, params);
    const int n = sqlite3_column_count(s);
    if (n == 0) throw rtl::DatabaseError("この SQL 文は行を返しません: " + sql.substr(0, 200));
    if (!sqlite3_stmt_readonly(s))
        throw rtl::DatabaseError("データを変更する SQL 文は開けません。ExecSQL を使います。");
    const int first = withRowid ? 1 : 0;

    cols.clear();
    updatable = false;
    baseTable.clear();
    std::string table;
    bool single = withRowid;
    if (withRowid) {
        const char* t = sqlite3_column_table_name(s, 0);
        if (t) table = t;
        else single = false;
    }
    for (int i = first; i < n; ++i) {
        Column c;
        c.name = detail::jetColumnName(s, i, first);
        const char* origin = sqlite3_column_origin_name(s, i);
        const char* tname = sqlite3_column_table_name(s, i);
        if (origin) c.origin = origin;
        if (!origin || !tname || table != tname) single = false;
        const char* decl = sqlite3_column_decltype(s, i);
        if (decl && parseJetType(decl, c.kind, c.width)) c.declared = true;
        cols.push_back(c);
    }
    if (single && !table.empty()) {
        updatable = !conn_->readOnly();
        baseTable = table;
    }

    rows.clear();
    long long position = 0;
    while (st->step()) {
        Row r;
        ++position;
        if (withRowid && sqlite3_column_type(s, 0) == SQLITE_INTEGER) r.rowid = sqlite3_column_int64(s, 0);
        else r.rowid = position;
        r.data.reserve(static_cast<size_t>(n - first));
        for (int i = first; i < n; ++i) r.data.push_back(detail::columnValue(s, i));
        rows.push_back(std::move(r));
    }
    if (!updatable)
        for (size_t i = 0; i < rows.size(); ++i) rows[i].rowid = static_cast<long long>(i) + 1;

    // Columns without a declared type take the kind of their values.
    for (size_t c = 0; c < cols.size(); ++c) {
        if (cols[c].declared) continue;
        bool anyReal = false, anyText = false;
        for (const auto& r : rows) {
            const Value& v = r.data[c];
            anyReal |= v.isFloat();
            anyText |= v.isText();
        }
        cols[c].kind = anyText ? FieldKind::Text : anyReal ? FieldKind::Double : FieldKind::Long;
        cols[c].width = 0;
    }
}

void Dataset::buildFields() {
    // Drop the dynamic fields of a previous open.
    fields_.erase(std::remove_if(fields_.begin(), fields_.end(), [](auto& f) { return !f->persistent_; }),
                  fields_.end());
    bool anyPersistentData = false;
    for (auto& f : fields_) {
        if (f->role_ != FieldRole::Data) continue;
        anyPersistentData = true;
        int found = -1;
        for (size_t c = 0; c < cols_.size(); ++c)
            if (sameName(cols_[c].name, f->name_)) {
                found = static_cast<int>(c);
                break;
            }
        if (found < 0) throw rtl::DatabaseError("フィールド '" + f->name_ + "' が見つかりません。");
        const Column& col = cols_[static_cast<size_t>(found)];
        if (col.declared && classOf(col.kind) != classOf(f->kind_))
            throw rtl::DatabaseError("フィールド '" + f->name_ + "' の型が一致しません (定義: " + kindName(f->kind_) +
                                     ", 列: " + kindName(col.kind) + ")。");
        f->column_ = found;
        if (f->width_ == 0 && isTextKind(f->kind_)) f->width_ = col.width;
    }
    if (!anyPersistentData) {
        std::vector<std::unique_ptr<Field>> dynamic;
        for (size_t c = 0; c < cols_.size(); ++c) {
            auto f = std::unique_ptr<Field>(new Field());
            f->ds_ = this;
            f->name_ = cols_[c].name;
            f->kind_ = cols_[c].kind;
            f->width_ = cols_[c].width;
            f->role_ = FieldRole::Data;
            f->column_ = static_cast<int>(c);
            dynamic.push_back(std::move(f));
        }
        for (auto& f : fields_) dynamic.push_back(std::move(f));
        fields_ = std::move(dynamic);
    }
    for (size_t i = 0; i < fields_.size(); ++i) fields_[i]->index_ = static_cast<int>(i);
    for (auto& f : fields_) {
        if (f->role_ != FieldRole::Lookup) continue;
        const LookupDef& d = lookups_[static_cast<size_t>(f->column_)].def;
        Field* key = findField(d.keyField);
        if (!key || key == f.get())
            throw rtl::DatabaseError("ルックアップフィールド '" + f->name_ + "' のキー '" + d.keyField +
                                     "' が見つかりません。");
    }
}

void Dataset::open() {
    if (active()) return;
    std::vector<Row> rows;
    std::vector<Column> cols;
    bool upd = false;
    std::string base;
    readRows(rows, cols, upd, base);
    cols_ = std::move(cols);
    rows_ = std::move(rows);
    updatable_ = upd;
    baseTable_ = base;
    try {
        buildFields();
    } catch (...) {
        cols_.clear();
        rows_.clear();
        fields_.erase(std::remove_if(fields_.begin(), fields_.end(), [](auto& f) { return !f->persistent_; }),
                      fields_.end());
        throw;
    }
    for (auto& l : lookups_) l.loadedAt = ~0ull;
    // The filter is bound to this open's fields: without persistent fields they
    // are new objects of possibly other kinds (the SQL may have changed).
    filterTree_.reset();
    state_ = DatasetState::Browse;
    try {
        for (auto& r : rows_) calcRow(r);
        applyFilter();
    } catch (...) {
        close();
        throw;
    }
    cur_ = visible_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = visible_.empty();
    modified_ = false;
    notifyState();
    notifyData(nullptr);
    if (afterOpen) afterOpen(*this);
    if (afterScroll) afterScroll(*this);
}

void Dataset::close() {
    if (!active()) return;
    if (beforeClose) beforeClose(*this);
    state_ = DatasetState::Inactive;
    rows_.clear();
    visible_.clear();
    cols_.clear();
    buffer_ = Row{};
    changed_.clear();
    modified_ = false;
    cur_ = -1;
    bof_ = eof_ = true;
    updatable_ = false;
    fields_.erase(std::remove_if(fields_.begin(), fields_.end(), [](auto& f) { return !f->persistent_; }),
                  fields_.end());
    for (size_t i = 0; i < fields_.size(); ++i) fields_[i]->index_ = static_cast<int>(i);
    notifyState();
    notifyData(nullptr);
}

void Dataset::refresh() {
    if (!active()) throw rtl::DatabaseError("データセット '" + name_ + "' は開いていません。");
    checkBrowseMode();
    const bool hadRow = cur_ >= 0;
    const long long mark = hadRow ? rows_[static_cast<size_t>(visible_[static_cast<size_t>(cur_)])].rowid : 0;
    const bool byRowid = updatable_;
    const int oldPos = cur_;

    std::vector<Row> rows;
    std::vector<Column> cols;
    bool upd = false;
    std::string base;
    readRows(rows, cols, upd, base);
    bool sameColumns = cols.size() == cols_.size();
    for (size_t i = 0; sameColumns && i < cols.size(); ++i) sameColumns = cols[i].name == cols_[i].name;
    if (!sameColumns) {
        close();
        open();
        return;
    }
    rows_ = std::move(rows);
    updatable_ = upd;
    baseTable_ = base;
    for (auto& l : lookups_) l.loadedAt = ~0ull;
    for (auto& r : rows_) calcRow(r);
    applyFilter();
    cur_ = visible_.empty() ? -1 : std::min<int>(std::max(oldPos, 0), static_cast<int>(visible_.size()) - 1);
    if (hadRow && byRowid) {
        for (size_t i = 0; i < visible_.size(); ++i)
            if (rows_[static_cast<size_t>(visible_[i])].rowid == mark) {
                cur_ = static_cast<int>(i);
                break;
            }
    }
    bof_ = eof_ = visible_.empty();
    notifyData(nullptr);
}

void Dataset::rolledBack() {
    if (!active()) return;
    if (state_ == DatasetState::Edit || state_ == DatasetState::Insert) {
        state_ = DatasetState::Browse;
        modified_ = false;
        buffer_ = Row{};
        notifyState();
    }
    refresh();
}

Dataset::Row* Dataset::activeRow() {
    if (calcTarget_) return calcTarget_;
    if (state_ == DatasetState::Edit || state_ == DatasetState::Insert) return &buffer_;
    if (cur_ < 0 || cur_ >= static_cast<int>(visible_.size())) return nullptr;
    return &rows_[static_cast<size_t>(visible_[static_cast<size_t>(cur_)])];
}

const Dataset::Row* Dataset::activeRow() const { return const_cast<Dataset*>(this)->activeRow(); }

int Dataset::rowIndex() const {
    if (cur_ < 0 || cur_ >= static_cast<int>(visible_.size())) return -1;
    return visible_[static_cast<size_t>(cur_)];
}

Value Dataset::fieldValue(const Field& f, const Row& row) const {
    switch (f.role_) {
    case FieldRole::Data:
        return f.column_ >= 0 && static_cast<size_t>(f.column_) < row.data.size()
                   ? row.data[static_cast<size_t>(f.column_)]
                   : Value();
    case FieldRole::Calculated:
        return static_cast<size_t>(f.column_) < row.calc.size() ? row.calc[static_cast<size_t>(f.column_)] : Value();
    case FieldRole::Lookup: return lookupValue(f, row);
    }
    return {};
}

Value Dataset::lookupValue(const Field& f, const Row& row) const {
    LookupSlot& slot = lookups_[static_cast<size_t>(f.column_)];
    const Field* key = const_cast<Dataset*>(this)->findField(slot.def.keyField);
    if (!key) return {};
    const Value k = fieldValue(*key, row);
    if (k.isNull()) return {};
    if (slot.loadedAt != conn_->changeCount()) {
        Params params;
        std::string source;
        if (slot.def.lookupDataset) source = "(" + slot.def.lookupDataset->lookupSourceSql(params) + ")";
        else source = quoteIdentifier(slot.def.lookupTable);
        const std::string sql = "SELECT " + quoteIdentifier(slot.def.lookupKeyField) + ", " +
                                quoteIdentifier(slot.def.lookupResultField) + " FROM " + source;
        detail::Statement st(conn_->handle(), sql);
        detail::bindParams(st.get(), params);
        FieldKind kk = FieldKind::Text;
        int w = 0;
        const char* decl = sqlite3_column_decltype(st.get(), 0);
        bool declared = decl && parseJetType(decl, kk, w);
        std::vector<std::pair<Value, Value>> pairs;
        while (st.step()) pairs.emplace_back(detail::columnValue(st.get(), 0), detail::columnValue(st.get(), 1));
        if (!declared) {
            kk = FieldKind::Long;
            for (auto& p : pairs)
                if (p.first.isText()) kk = FieldKind::Text;
        }
        slot.numericKey = isNumericKind(kk);
        slot.values.clear();
        for (auto& p : pairs)
            if (auto nk = detail::lookupKey(p.first, slot.numericKey)) slot.values.emplace(*nk, p.second);
        slot.loadedAt = conn_->changeCount();
    }
    auto nk = detail::lookupKey(k, slot.numericKey);
    if (!nk) return {};
    auto it = slot.values.find(*nk);
    if (it == slot.values.end()) return {};
    if (isTextKind(f.kind_) && !it->second.isNull()) return Value(it->second.toString());
    return it->second;
}

void Dataset::calcRow(Row& row) {
    row.calc.assign(static_cast<size_t>(calcSlots_), Value());
    if (!onCalcFields || calcSlots_ == 0) return;
    Row* savedTarget = calcTarget_;
    const DatasetState saved = state_;
    calcTarget_ = &row;
    state_ = DatasetState::CalcFields;
    try {
        onCalcFields(*this);
    } catch (...) {
        calcTarget_ = savedTarget;
        state_ = saved;
        throw;
    }
    calcTarget_ = savedTarget;
    state_ = saved;
}

void Dataset::setFieldValue(Field& f, Value v) {
    if (!active()) throw rtl::DatabaseError("データセット '" + name_ + "' は開いていません。");
    if (state_ == DatasetState::CalcFields) {
        if (f.role_ != FieldRole::Calculated)
            throw rtl::DatabaseError("フィールド '" + f.name_ + "' は計算フィールドの処理中には変更できません。");
        calcTarget_->calc[static_cast<size_t>(f.column_)] = std::move(v);
        return;
    }
    if (f.role_ != FieldRole::Data) throw rtl::DatabaseError("フィールド '" + f.name_ + "' は変更できません。");
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert) notEditing(name_);
    buffer_.data[static_cast<size_t>(f.column_)] = std::move(v);
    changed_[static_cast<size_t>(f.column_)] = true;
    modified_ = true;
    calcRow(buffer_);
    notifyData(&f);
}

// ---- Dataset: filter --------------------------------------------------------------

namespace {

struct FilterEval {
    const std::function<Value(const Field&)>& valueOf;
    bool eval(const detail::FilterNode& n) const {
        using T = detail::FilterNode::Type;
        using O = detail::FilterNode::Op;
        switch (n.type) {
        case T::And: return eval(*n.left) && eval(*n.right);
        case T::Or: return eval(*n.left) || eval(*n.right);
        case T::IsNull: return valueOf(*n.boundField).isNull();
        case T::NotNull: return !valueOf(*n.boundField).isNull();
        case T::Compare: {
            auto c = detail::compareByKind(n.boundField->kind(), valueOf(*n.boundField), n.key);
            if (!c) return false;
            switch (n.op) {
            case O::Eq: return *c == 0;
            case O::Ne: return *c != 0;
            case O::Lt: return *c < 0;
            case O::Le: return *c <= 0;
            case O::Gt: return *c > 0;
            case O::Ge: return *c >= 0;
            }
        }
        }
        return false;
    }
};

void bindFilter(detail::FilterNode& n, Dataset& ds) {
    using T = detail::FilterNode::Type;
    if (n.type == T::And || n.type == T::Or) {
        bindFilter(*n.left, ds);
        bindFilter(*n.right, ds);
        return;
    }
    Field* f = ds.findField(n.field);
    if (!f) throw rtl::DatabaseError("フィルタのフィールド '" + n.field + "' が見つかりません。");
    n.boundField = f;
    if (n.type == T::Compare) n.key = detail::convertLiteral(f->kind(), n.literal, f->fieldName());
}

}  // namespace

void Dataset::applyFilter() {
    // Everything is worked out before anything changes, so a filter that does
    // not parse or bind leaves the rows, the cursor and the old filter as they were.
    const bool on = filtered_ && !rtl::trimView(filterText_).empty();
    std::shared_ptr<detail::FilterNode> tree = filterTree_;
    if (on && !tree) {
        tree = detail::parseFilter(filterText_);
        bindFilter(*tree, *this);
    }
    std::vector<int> shown;
    shown.reserve(rows_.size());
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!on || rowMatches(*tree, rows_[i])) shown.push_back(static_cast<int>(i));
    }
    if (on) filterTree_ = std::move(tree);
    visible_.swap(shown);
}

bool Dataset::rowMatches(const detail::FilterNode& tree, const Row& row) const {
    std::function<Value(const Field&)> valueOf = [&](const Field& f) { return fieldValue(f, row); };
    return FilterEval{valueOf}.eval(tree);
}

void Dataset::setFilter(std::string text) {
    if (active() && filtered_) checkBrowseMode();
    std::string oldText = std::exchange(filterText_, std::move(text));
    std::shared_ptr<detail::FilterNode> oldTree = std::exchange(filterTree_, nullptr);
    if (active() && filtered_) {
        try {
            applyFilter();
        } catch (...) {
            filterText_ = std::move(oldText);
            filterTree_ = std::move(oldTree);
            throw;
        }
        cur_ = visible_.empty() ? -1 : 0;
        bof_ = true;
        eof_ = visible_.empty();
        scrolled();
    }
}

void Dataset::setFiltered(bool on) {
    if (on == filtered_) return;
    if (active()) checkBrowseMode();
    std::shared_ptr<detail::FilterNode> oldTree = std::exchange(filterTree_, nullptr);
    filtered_ = on;
    if (active()) {
        try {
            applyFilter();
        } catch (...) {
            filtered_ = !on;
            filterTree_ = std::move(oldTree);
            throw;
        }
        cur_ = visible_.empty() ? -1 : 0;
        bof_ = true;
        eof_ = visible_.empty();
        scrolled();
    }
}

// ---- Dataset: navigation ----------------------------------------------------------

namespace {
[[noreturn]] void notOpen(const std::string& name) {
    throw rtl::DatabaseError("データセット '" + name + "' は開いていません。");
}
}  // namespace

void Dataset::scrolled() {
    notifyData(nullptr);
    if (afterScroll) afterScroll(*this);
}

void Dataset::first() {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    cur_ = visible_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = visible_.empty();
    scrolled();
}

void Dataset::last() {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    cur_ = static_cast<int>(visible_.size()) - 1;
    eof_ = true;
    bof_ = visible_.empty();
    scrolled();
}

void Dataset::next() {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    if (cur_ + 1 < static_cast<int>(visible_.size())) {
        ++cur_;
        bof_ = eof_ = false;
        scrolled();
    } else {
        eof_ = true;
    }
}

void Dataset::prior() {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    if (cur_ > 0) {
        --cur_;
        bof_ = eof_ = false;
        scrolled();
    } else {
        bof_ = true;
    }
}

int Dataset::moveBy(int distance) {
    int moved = 0;
    while (distance > 0 && !eof_) {
        int before = cur_;
        next();
        if (cur_ != before) ++moved;
        --distance;
    }
    while (distance < 0 && !bof_) {
        int before = cur_;
        prior();
        if (cur_ != before) --moved;
        ++distance;
    }
    return moved;
}

int Dataset::recNo() const {
    if (state_ == DatasetState::Insert) return insertAt_ + 1;
    return cur_ + 1;
}

void Dataset::setRecNo(int recNo) {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    if (visible_.empty()) return;
    cur_ = std::clamp(recNo, 1, static_cast<int>(visible_.size())) - 1;
    bof_ = eof_ = false;
    scrolled();
}

bool Dataset::locate(std::string_view keyFields, const std::vector<Value>& values, LocateOptions options) {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    std::vector<Field*> fs;
    for (const auto& n : splitNames(keyFields)) fs.push_back(&fieldByName(n));
    if (fs.size() != values.size()) throw rtl::DatabaseError("Locate のフィールド数と値の数が一致しません。");
    for (size_t i = 0; i < visible_.size(); ++i) {
        const Row& row = rows_[static_cast<size_t>(visible_[i])];
        bool all = true;
        for (size_t k = 0; all && k < fs.size(); ++k)
            all = detail::locateMatch(fs[k]->kind(), fieldValue(*fs[k], row), values[k], options.partialKey);
        if (all) {
            cur_ = static_cast<int>(i);
            bof_ = eof_ = false;
            scrolled();
            return true;
        }
    }
    return false;
}

Dataset::Bookmark Dataset::bookmark() const {
    int idx = rowIndex();
    return idx < 0 ? 0 : rows_[static_cast<size_t>(idx)].rowid;
}

bool Dataset::gotoBookmark(Bookmark b) {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    for (size_t i = 0; i < visible_.size(); ++i)
        if (rows_[static_cast<size_t>(visible_[i])].rowid == b) {
            cur_ = static_cast<int>(i);
            bof_ = eof_ = false;
            scrolled();
            return true;
        }
    return false;
}

// ---- Dataset: editing ----------------------------------------------------------------

namespace {
[[noreturn]] void readOnlyData(const std::string& name) {
    throw rtl::DatabaseError("データセット '" + name + "' は読み取り専用のため変更できません。");
}
}  // namespace

void Dataset::edit() {
    if (!active()) notOpen(name_);
    if (state_ == DatasetState::Edit || state_ == DatasetState::Insert) return;
    if (!updatable_) readOnlyData(name_);
    if (visible_.empty()) {
        insert();
        return;
    }
    buffer_ = rows_[static_cast<size_t>(rowIndex())];
    changed_.assign(cols_.size(), false);
    modified_ = false;
    state_ = DatasetState::Edit;
    notifyState();
}

void Dataset::append() {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    if (!updatable_) readOnlyData(name_);
    buffer_ = Row{};
    buffer_.data.assign(cols_.size(), Value());
    changed_.assign(cols_.size(), false);
    modified_ = false;
    insertAt_ = static_cast<int>(visible_.size());
    state_ = DatasetState::Insert;
    calcRow(buffer_);
    bof_ = eof_ = false;
    notifyState();
    notifyData(nullptr);
}

void Dataset::insert() {
    if (!active()) notOpen(name_);
    checkBrowseMode();
    if (!updatable_) readOnlyData(name_);
    buffer_ = Row{};
    buffer_.data.assign(cols_.size(), Value());
    changed_.assign(cols_.size(), false);
    modified_ = false;
    insertAt_ = std::max(cur_, 0);
    state_ = DatasetState::Insert;
    calcRow(buffer_);
    bof_ = eof_ = false;
    notifyState();
    notifyData(nullptr);
}

void Dataset::writeRow() {
    Params params;
    std::string sql;
    if (state_ == DatasetState::Edit) {
        std::string set;
        for (size_t c = 0; c < cols_.size(); ++c) {
            if (!changed_[c]) continue;
            if (!set.empty()) set += ", ";
            set += quoteIdentifier(cols_[c].origin) + " = ?";
            params.emplace_back(buffer_.data[c]);
        }
        if (set.empty()) return;
        sql = "UPDATE " + quoteIdentifier(baseTable_) + " SET " + set + " WHERE rowid = ?";
        params.emplace_back(Value(buffer_.rowid));
        if (conn_->executeNative(sql, params) == 0)
            throw rtl::DatabaseError("更新する行が見つかりません。ほかの処理で変更または削除されています。");
    } else {
        std::string names, marks;
        for (size_t c = 0; c < cols_.size(); ++c) {
            if (!changed_[c]) continue;
            if (!names.empty()) {
                names += ", ";
                marks += ", ";
            }
            names += quoteIdentifier(cols_[c].origin);
            marks += "?";
            params.emplace_back(buffer_.data[c]);
        }
        sql = "INSERT INTO " + quoteIdentifier(baseTable_) +
              (names.empty() ? std::string(" DEFAULT VALUES") : " (" + names + ") VALUES (" + marks + ")");
        conn_->executeNative(sql, params);
        buffer_.rowid = sqlite3_last_insert_rowid(conn_->handle());
    }
    rereadRow(buffer_);
}

void Dataset::rereadRow(Row& row) {
    std::string list;
    for (size_t c = 0; c < cols_.size(); ++c) list += (c ? ", " : "") + quoteIdentifier(cols_[c].origin);
    sqlite3* h = conn_->handle();
    const detail::StatementCache::Lease st =
        conn_->statements().acquire(h, "SELECT " + list + " FROM " + quoteIdentifier(baseTable_) + " WHERE rowid = ?");
    detail::bindParams(st.get(), {Value(row.rowid)});
    if (st->step())
        for (size_t c = 0; c < cols_.size(); ++c) row.data[c] = detail::columnValue(st.get(), static_cast<int>(c));
}

void Dataset::post() {
    if (!active()) notOpen(name_);
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert) return;
    notifyUpdate();
    if (beforePost) beforePost(*this);
    const bool inserting = state_ == DatasetState::Insert;
    Row saved = buffer_;
    try {
        writeRow();
    } catch (...) {
        buffer_ = std::move(saved);  // keep what the user typed
        throw;
    }
    conn_->noteWrite(this);
    calcRow(buffer_);
    if (inserting) {
        rows_.push_back(buffer_);
        const int at = std::clamp(insertAt_, 0, static_cast<int>(visible_.size()));
        visible_.insert(visible_.begin() + at, static_cast<int>(rows_.size()) - 1);
        cur_ = at;
    } else {
        rows_[static_cast<size_t>(rowIndex())] = buffer_;
    }
    buffer_ = Row{};
    state_ = DatasetState::Browse;
    modified_ = false;
    bof_ = eof_ = false;
    notifyState();
    notifyData(nullptr);
    if (afterPost) afterPost(*this);
}

void Dataset::cancel() {
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert) return;
    state_ = DatasetState::Browse;
    buffer_ = Row{};
    modified_ = false;
    bof_ = cur_ <= 0;
    eof_ = visible_.empty();
    notifyState();
    notifyData(nullptr);
}

void Dataset::checkBrowseMode() {
    if (state_ != DatasetState::Edit && state_ != DatasetState::Insert) return;
    notifyUpdate();
    if (modified_) post();
    else cancel();
}

void Dataset::deleteRecord() {
    if (!active()) notOpen(name_);
    if (state_ == DatasetState::Insert) {
        cancel();
        return;
    }
    if (visible_.empty()) throw rtl::DatabaseError("空のデータセットでは削除できません。");
    if (!updatable_) readOnlyData(name_);
    if (state_ == DatasetState::Edit) cancel();
    if (beforeDelete) beforeDelete(*this);
    const int idx = rowIndex();
    conn_->executeNative("DELETE FROM " + quoteIdentifier(baseTable_) + " WHERE rowid = ?",
                         {Value(rows_[static_cast<size_t>(idx)].rowid)});
    conn_->noteWrite(this);
    rows_.erase(rows_.begin() + idx);
    visible_.erase(visible_.begin() + cur_);
    for (auto& v : visible_)
        if (v > idx) --v;
    if (cur_ >= static_cast<int>(visible_.size())) cur_ = static_cast<int>(visible_.size()) - 1;
    bof_ = cur_ <= 0;
    eof_ = visible_.empty();
    scrolled();
    if (afterDelete) afterDelete(*this);
}

// ---- Dataset: controls ------------------------------------------------------------------

void Dataset::disableControls() { ++disableCount_; }

void Dataset::enableControls() {
    if (disableCount_ == 0) return;
    if (--disableCount_ == 0) {
        notifyState();
        notifyData(nullptr);
    }
}

void Dataset::notifyData(Field* f) {
    if (disableCount_ > 0) return;
    std::vector<DataSource*> copy = sources_;
    for (DataSource* s : copy) s->dataChanged(f);
}

void Dataset::notifyState() {
    if (disableCount_ > 0) return;
    std::vector<DataSource*> copy = sources_;
    for (DataSource* s : copy) s->stateChanged();
}

void Dataset::notifyUpdate() {
    std::vector<DataSource*> copy = sources_;
    for (DataSource* s : copy) s->updateData();
}

}  // namespace db
