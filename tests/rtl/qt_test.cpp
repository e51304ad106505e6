// Qt adapters.
#include <gtest/gtest.h>

#include "rtl/datetime.h"
#include "rtl/qt.h"

using namespace rtl;

TEST(QtAdapters, StringsRoundTripAsUtf8) {
    const std::string s = "天引伝票 ｱ \xE3\x80\x80 x";
    const QString q = toQString(s);
    EXPECT_EQ(q.size(), 10);
    EXPECT_EQ(fromQString(q), s);
    EXPECT_EQ(fromQString(QString()), "");
}

TEST(QtAdapters, DateTimes) {
    const TDateTime v = encodeDateTime(2024, 1, 15, 2, 0, 0, 250);
    const QDateTime q = toQDateTime(v);
    EXPECT_EQ(q.date(), QDate(2024, 1, 15));
    EXPECT_EQ(q.time(), QTime(2, 0, 0, 250));
    EXPECT_EQ(fromQDateTime(q), v);
    EXPECT_EQ(fromQDate(QDate(1899, 12, 30)), 0.0);
    EXPECT_EQ(toQDate(encodeDate(2014, 8, 5)), QDate(2014, 8, 5));
}
