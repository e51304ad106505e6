#include "rtl/qt.h"

#include <QTime>
#include <QTimeZone>

#include "rtl/datetime.h"

namespace rtl {

QString toQString(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

std::string fromQString(const QString& s) {
    const QByteArray b = s.toUtf8();
    return std::string(b.constData(), static_cast<std::size_t>(b.size()));
}

QDate toQDate(TDateTime value) {
    const DateParts p = decodeDate(value);
    return QDate(p.year, p.month, p.day);
}

TDateTime fromQDate(const QDate& d) { return encodeDate(d.year(), d.month(), d.day()); }

QDateTime toQDateTime(TDateTime value) {
    const TimeParts t = decodeTime(value);
    return QDateTime(toQDate(value), QTime(t.hour, t.minute, t.second, t.msec));
}

TDateTime fromQDateTime(const QDateTime& dt) {
    const QDate d = dt.date();
    const QTime t = dt.time();
    return encodeDateTime(d.year(), d.month(), d.day(), t.hour(), t.minute(), t.second(), t.msec());
}

}  // namespace rtl
