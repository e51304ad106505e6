// The query component: SQL text with bound parameters.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "db/dataset.h"

namespace db {

// SQL as a list of lines, sent joined by CR LF.
class SqlLines {
public:
    void clear() {
        lines_.clear();
        changed();
    }
    void add(std::string line) {
        lines_.push_back(std::move(line));
        changed();
    }
    SqlLines& operator<<(std::string line) {
        add(std::move(line));
        return *this;
    }
    void setText(std::string_view text);  // splits at CR LF / LF
    std::string text() const;             // lines joined by "\r\n"
    const std::vector<std::string>& lines() const { return lines_; }
    int count() const { return static_cast<int>(lines_.size()); }
    std::function<void()> onChange;

private:
    void changed() {
        if (onChange) onChange();
    }
    std::vector<std::string> lines_;
};

// A query: open() for a SELECT, execSQL() for any other statement. Changing
// the SQL closes it. Parameters are bound by name (":code") or position ("?").
class Query : public Dataset {
public:
    explicit Query(Connection* connection = nullptr, std::string name = {});
    SqlLines& sql() { return sql_; }
    const SqlLines& sql() const { return sql_; }
    void setSql(std::string_view text) { sql_.setText(text); }
    std::string sqlText() const { return sql_.text(); }

    void setParam(std::string name, Value v);  // name with or without ':'
    void addParam(Value v);                    // next positional "?"
    void clearParams();
    const Params& params() const { return params_; }

    // Runs the statement; returns the rows changed.
    long long execSQL();
    long long rowsAffected() const { return rowsAffected_; }

protected:
    std::string selectSql(Params& params) const override;
    std::string lookupSourceSql(Params& params) const override;

private:
    SqlLines sql_;
    Params params_;
    long long rowsAffected_ = 0;
};

}  // namespace db
