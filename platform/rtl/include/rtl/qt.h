// Thin Qt adapters over the runtime layer (library tallyra_rtl_qt).
#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>
#include <string>
#include <string_view>

#include "rtl/types.h"

namespace rtl {

QString toQString(std::string_view utf8);
std::string fromQString(const QString& s);

// Local date-time without time zone arithmetic (the stored values are wall
// clock). Millisecond precision.
QDateTime toQDateTime(TDateTime value);
TDateTime fromQDateTime(const QDateTime& dt);
QDate toQDate(TDateTime value);
TDateTime fromQDate(const QDate& d);

}  // namespace rtl
