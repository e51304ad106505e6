// Datasets: what the table and query components of the data module share
// (db/table.h, db/query.h); their fields are in db/field.h.
//
// A dataset holds a snapshot of its rows, read when it opens: later SQL
// changes do not alter them until refresh(). All users share its one current
// row. Fields are read and written by name; the read rules are those of the
// Windows program's fields:
//   NULL number -> 0, NULL text -> "", NULL date-time -> 0 (1899-12-30);
//   text read as a number goes through rtl::strToInt / strToFloat /
//   strToDateTime, so empty text (and NULL text) read as an integer is an
//   rtl::ConversionError; isNull() tells NULL and empty text apart.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "db/field.h"
#include "db/value.h"

namespace db {

class Connection;
class Dataset;
class DataSource;
namespace detail {
struct FilterNode;
}

enum class DatasetState { Inactive, Browse, Edit, Insert, CalcFields };

struct LocateOptions {
    bool caseInsensitive = true;  // the collation is case-insensitive anyway
    bool partialKey = false;      // text keys: prefix match
};

class Dataset {
public:
    Dataset(Connection* connection = nullptr, std::string name = {});
    virtual ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    const std::string& name() const { return name_; }
    void setName(std::string n) { name_ = std::move(n); }
    Connection* connection() const { return conn_; }
    void setConnection(Connection* c);  // closes the dataset first

    // ---- persistent fields (set up while closed) ----
    // With persistent data fields the dataset shows only those (and its
    // calculated and lookup fields); opening fails with rtl::DatabaseError
    // "フィールド 'X' が見つかりません。" when the result lacks one of them.
    // Without them every result column becomes a field (kind and width from
    // the declared column type).
    Field& addField(const FieldDef& def);
    Field& addCalculatedField(const FieldDef& def);
    Field& addLookupField(const LookupDef& def);
    void clearFieldDefs();

    // ---- open / close ----
    void open();
    void close();  // discards an unposted change
    bool active() const { return state_ != DatasetState::Inactive; }
    void setActive(bool on) { on ? open() : close(); }
    // Posts a pending change, re-reads the rows and returns to the same row
    // (by rowid; by position for read-only results).
    void refresh();
    DatasetState state() const { return state_; }
    // Rows can be written (a table, or a query over one table's columns).
    bool canModify() const { return active() && updatable_; }

    // ---- fields ----
    int fieldCount() const { return static_cast<int>(fields_.size()); }
    Field& field(int index);
    Field& fieldByName(std::string_view name);  // rtl::DatabaseError when missing
    Field* findField(std::string_view name);    // case-insensitive
    std::vector<std::string> fieldNames() const;
    Field& operator[](std::string_view name) { return fieldByName(name); }

    // ---- navigation (a changed row is posted first; a failing post throws
    // and the cursor stays) ----
    void first();
    void last();
    void next();
    void prior();
    int moveBy(int distance);
    bool eof() const { return eof_; }
    bool bof() const { return bof_; }
    bool isEmpty() const { return visible_.empty(); }
    int recordCount() const { return static_cast<int>(visible_.size()); }
    int recNo() const;  // 1-based, 0 when empty
    void setRecNo(int recNo);
    // Moves to the first row whose fields (";"-separated) equal the values,
    // compared by each field's kind; false (cursor unchanged) when none.
    bool locate(std::string_view keyFields, const std::vector<Value>& values, LocateOptions options = {});
    bool locate(std::string_view keyField, const Value& value, LocateOptions options = {}) {
        return locate(keyField, std::vector<Value>{value}, options);
    }
    using Bookmark = long long;  // rowid of a row (or position + 1 for read-only results)
    Bookmark bookmark() const;
    bool gotoBookmark(Bookmark b);

    // ---- editing ----
    void edit();    // on an empty dataset: insert()
    void append();  // new row at the end
    void insert();  // new row before the current one
    // Runs beforePost, writes the row with bound values, re-reads it (so
    // converted values show), runs afterPost. A failure raises and leaves the
    // dataset in Edit/Insert with the values as the user set them.
    void post();
    void cancel();
    void deleteRecord();  // the current row, from the database and the snapshot
    bool modified() const { return modified_; }
    // Edit/Insert: post when modified, else cancel.
    void checkBrowseMode();

    // ---- filter ----
    // Comparisons "Field op literal" with = <> < <= > >=, joined by AND / OR
    // (any case) and brackets. Literals quoted ('x', quotes doubled) or bare;
    // converted to the field's kind: dates compare as dates, numbers as
    // numbers, text with the Jet collation. NULL never matches. The text and
    // the switch survive close and open; set on an open dataset they apply at
    // once and the cursor goes to the first row. A malformed filter, one nested
    // or chained deeper than 1000 levels, or an unknown field raises
    // rtl::DatabaseError when it is applied; a refused filter on an open
    // dataset leaves it exactly as it was (rows, cursor and the old filter).
    void setFilter(std::string text);
    const std::string& filter() const { return filterText_; }
    void setFiltered(bool on);
    bool filtered() const { return filtered_; }

    // ---- hooks ----
    std::function<void(Dataset&)> onCalcFields;  // fill calculated fields of the row
    std::function<void(Dataset&)> beforePost;
    std::function<void(Dataset&)> afterPost;
    std::function<void(Dataset&)> beforeDelete;
    std::function<void(Dataset&)> afterDelete;
    std::function<void(Dataset&)> afterOpen;
    std::function<void(Dataset&)> beforeClose;
    std::function<void(Dataset&)> afterScroll;

    // ---- bound controls ----
    void disableControls();
    void enableControls();  // the last one notifies a full change
    bool controlsDisabled() const { return disableCount_ > 0; }

protected:
    // The SELECT the dataset opens, with its parameters.
    virtual std::string selectSql(Params& params) const = 0;
    // The source read by lookup fields that name this dataset.
    virtual std::string lookupSourceSql(Params& params) const = 0;
    void checkInactive(const char* what) const;

private:
    friend class Field;
    friend class DataSource;
    friend class Connection;
    struct Row {
        long long rowid = 0;
        std::vector<Value> data;
        std::vector<Value> calc;
    };
    struct Column {
        std::string name;    // Jet name (Expr1000 for expressions)
        std::string origin;  // base-table column, empty for expressions
        FieldKind kind = FieldKind::Text;
        int width = 0;
        bool declared = false;
    };
    struct LookupSlot {
        LookupDef def;
        std::uint64_t loadedAt = ~0ull;
        bool numericKey = false;
        std::map<std::string, Value> values;
    };
    void readRows(std::vector<Row>& rows, std::vector<Column>& cols, bool& updatable, std::string& baseTable);
    void buildFields();
    void calcRow(Row& row);
    void applyFilter();
    bool rowMatches(const detail::FilterNode& tree, const Row& row) const;
    Row* activeRow();
    const Row* activeRow() const;
    Value fieldValue(const Field& f, const Row& row) const;
    Value lookupValue(const Field& f, const Row& row) const;
    void setFieldValue(Field& f, Value v);
    void writeRow();
    void rereadRow(Row& row);
    void scrolled();
    void notifyData(Field* f);
    void notifyState();
    void notifyUpdate();
    void rolledBack();
    int rowIndex() const;

    Connection* conn_ = nullptr;
    std::string name_;
    DatasetState state_ = DatasetState::Inactive;
    std::vector<std::unique_ptr<Field>> fields_;
    std::vector<Column> cols_;
    std::vector<Row> rows_;
    std::vector<int> visible_;  // indices into rows_
    int cur_ = -1;              // index into visible_
    bool bof_ = true, eof_ = true;
    bool updatable_ = false;
    std::string baseTable_;
    Row buffer_;
    std::vector<bool> changed_;  // per result column, in Edit/Insert
    bool modified_ = false;
    int insertAt_ = 0;  // visible position of a row being inserted
    int calcSlots_ = 0;
    mutable std::vector<LookupSlot> lookups_;
    Row* calcTarget_ = nullptr;
    std::string filterText_;
    bool filtered_ = false;
    std::shared_ptr<detail::FilterNode> filterTree_;
    std::vector<DataSource*> sources_;
    int disableCount_ = 0;
};

// Keeps a dataset open for a scope. One found closed is opened here and
// closed again when the scope ends (also when it ends by an error); one found
// open (a window may be showing it) is left open as it was, on its current
// row and with any change not yet posted, since closing it would drop that.
class OpenScope {
public:
    explicit OpenScope(Dataset& dataset) : ds_(dataset), openedHere_(!dataset.active()) {
        if (openedHere_) ds_.open();
    }
    ~OpenScope() {
        if (openedHere_) ds_.close();
    }
    OpenScope(const OpenScope&) = delete;
    OpenScope& operator=(const OpenScope&) = delete;
    // False when the dataset was open already (and will stay open).
    bool openedHere() const { return openedHere_; }

private:
    Dataset& ds_;
    bool openedHere_;
};

// Runs `read` on the dataset inside an OpenScope and returns what it returns.
template <class Read>
decltype(auto) withOpen(Dataset& dataset, Read&& read) {
    OpenScope scope(dataset);
    return std::forward<Read>(read)();
}

}  // namespace db
