#include "db/query.h"

#include "db/connection.h"
#include "internal.h"
#include "rtl/errors.h"
#include "rtl/strings.h"

namespace db {

using detail::sameName;

// ---- SqlLines / Query ------------------------------------------------------------------

void SqlLines::setText(std::string_view text) {
    lines_.clear();
    size_t i = 0;
    while (i <= text.size()) {
        size_t nl = text.find('\n', i);
        if (nl == std::string_view::npos) nl = text.size();
        std::string_view line = text.substr(i, nl - i);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (nl < text.size() || !line.empty()) lines_.emplace_back(line);
        i = nl + 1;
    }
    changed();
}

std::string SqlLines::text() const {
    std::string r;
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i) r += "\r\n";
        r += lines_[i];
    }
    return r;
}

Query::Query(Connection* connection, std::string name) : Dataset(connection, std::move(name)) {
    sql_.onChange = [this] {
        if (active()) close();
        params_.clear();
    };
}

void Query::setParam(std::string name, Value v) {
    for (auto& p : params_)
        if (!p.name.empty() && sameName(p.name, name)) {
            p.value = std::move(v);
            return;
        }
    params_.emplace_back(std::move(name), std::move(v));
}

void Query::addParam(Value v) { params_.emplace_back(std::move(v)); }
void Query::clearParams() { params_.clear(); }

long long Query::execSQL() {
    if (!connection()) throw rtl::DatabaseError("データセット '" + name() + "' に接続が設定されていません。");
    rowsAffected_ = connection()->execute(sqlText(), params_);
    return rowsAffected_;
}

std::string Query::selectSql(Params& params) const {
    params = params_;
    const std::string text = sqlText();
    if (rtl::trimView(text).empty()) throw rtl::DatabaseError("データセット '" + name() + "' の SQL 文が空です。");
    return text;
}

std::string Query::lookupSourceSql(Params& params) const { return selectSql(params); }

}  // namespace db
