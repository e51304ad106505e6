// Printed values the slips and the ledgers share: amounts with "#,##0",
// minutes as hours and minutes, and type sizes. Private to this folder.
#pragma once

#include <QString>

#include <functional>

#include "report/report.h"
#include "reports/slipdata.h"
#include "rtl/format.h"
#include "rtl/qt.h"

namespace reports {

inline QString yen(long long v) { return rtl::toQString(rtl::formatInteger("#,##0", v)); }

// A computed amount printed with "#,##0".
inline report::Expr moneyOf(const QString& label, std::function<long long(const report::Row&)> fn) {
    return report::computed(label, [fn = std::move(fn)](const report::Row& r) { return yen(fn(r)); });
}

inline report::Expr minutesOf(const QString& label, const char* column, bool padded) {
    const std::string c = column;
    return report::computed(label, [c, padded](const report::Row& r) {
        return padded ? minutesPadded(r.integer(c)) : minutesUnpadded(r.integer(c));
    });
}
// Whole minutes as "h:mm" / "h:m".
inline report::Expr padded(const char* column) {
    return minutesOf(QStringLiteral("%1 h:mm").arg(QLatin1String(column)), column, true);
}
inline report::Expr unpadded(const char* column) {
    return minutesOf(QStringLiteral("%1 h:m").arg(QLatin1String(column)), column, false);
}

inline report::FontSpec pt(double size) {
    report::FontSpec f;
    f.pointSize = size;
    return f;
}

}  // namespace reports
