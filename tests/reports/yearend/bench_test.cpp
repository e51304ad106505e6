// tallyra-bench render --form TfrmQR_Gensen: the range's withholding data is
// built first, then the employee's slip goes into a PDF.
#include <gtest/gtest.h>

#include <QProcess>
#include <QString>

#include "fixture.h"
#include "rtl/textfile.h"

namespace yearend::testing {
namespace {

struct Outcome {
    int code = -1;
    QString out, err;
};

class BenchSlip : public YearEndDb {
public:
    Outcome bench(const QStringList& options) {
        QProcess p;
        QStringList args{QStringLiteral("render"), QString::fromStdString(dir.string()), QStringLiteral("--form"),
                         QStringLiteral("TfrmQR_Gensen")};
        p.start(QStringLiteral(TALLYRA_BENCH), args + options);
        p.waitForFinished(60000);
        return {p.exitCode(), QString::fromUtf8(p.readAllStandardOutput()),
                QString::fromUtf8(p.readAllStandardError())};
    }
};

TEST_F(BenchSlip, BuildsTheYearAndRendersTheEmployeesSlip) {
    rtl::writeLines(dir / "Quendar.ini", {dbPath});
    addEmployee(1, "山田太郎");
    addPay(1, "25/03", {{"S_BASKING", 250000}, {"S_SHAHO", 30000}});
    addPay(1, "25-1", {{"S_BASKING", 400000}}, true);
    exec("INSERT INTO gensen (code, dcode, total_1) VALUES (9, '000009', 1)");
    conn->close();
    const std::string pdf = (dir / "slip.pdf").string();

    const Outcome r =
        bench({"--from", "2025/01", "--to", "2025/12", "--employee", "000001", "--pdf", QString::fromStdString(pdf)});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("源泉データ 1 件を作成しました。"))) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("1 page(s), 1 record(s)"))) << r.out.toStdString();
    EXPECT_TRUE(std::filesystem::file_size(pdf) > 0);
    EXPECT_EQ(number("SELECT total_1 FROM gensen WHERE code = 1"), 650000);
    EXPECT_EQ(number("SELECT COUNT(*) FROM gensen"), 1);
}

TEST_F(BenchSlip, SaysWhatItNeeds) {
    rtl::writeLines(dir / "Quendar.ini", {dbPath});
    const Outcome r = bench({"--from", "2025/01", "--to", "2025/12", "--pdf", "x.pdf"});
    EXPECT_EQ(r.code, 2);
    EXPECT_TRUE(r.err.contains(QStringLiteral("--employee CODE"))) << r.err.toStdString();
}

}  // namespace
}  // namespace yearend::testing
