// tallyra-bench render on a working folder: the forms into PDF and CSV, and
// clear failures for a wrong form, a missing option or a folder that is none.
#include "benchrun.h"
#include "fixture.h"

#include <QFile>

#include "rtl/textfile.h"

using namespace rtest;

namespace {

using Outcome = BenchOutcome;
Outcome bench(const QStringList& args) { return runBench(args); }

class Bench : public SlipTest {
protected:
    void SetUp() override {
        SlipTest::SetUp();
        rtl::writeLines(QDir(work.path()).filePath(QStringLiteral("Quendar.ini")).toStdString(), {dbPath});
    }
    QString file(const char* name) { return QDir(work.path()).filePath(QString::fromLatin1(name)); }
    // "render DIR --form FORM --pdf PDF", the PDF removed first.
    QStringList renderInto(const char* form, const QString& pdf) {
        QFile::remove(pdf);
        return {QStringLiteral("render"), work.path(), QStringLiteral("--form"), QString::fromLatin1(form),
                QStringLiteral("--pdf"),  pdf};
    }
};

}  // namespace

TEST_F(Bench, RendersEachSlipIntoPdfAndCsv) {
    employee(1, "山田太郎");
    payRecord("26/04", 1, {{"S_BASKING", 123456}, {"S_TOTALT", 123456}});
    payRecord("26-1", 1, {{"S_SHOYO_F", "1"}, {"S_BASKING", 400000}});
    insert("minus_dat", {{"M_No", 1}, {"M_DATE", "26/04"}, {"M_TANMEI", "山田太郎"}});
    conn().close();
    const struct {
        const char* form;
        QStringList keys;
    } cases[] = {
        {"TfrmQR_Kyuyo", {"--year", "2026", "--month", "04"}},
        {"TfrmQR_Kyuyo1170", {"--year", "2026", "--month", "4"}},
        {"TfrmQR_KyuyoS", {"--bonus", "1", "--year", "2026"}},
        {"TfrmQR_KyuyoS1170", {"--bonus", "1", "--year", "2026"}},
        {"TfrmQR_Minus", {"--year", "2026", "--month", "04"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        const QString pdf = file("out.pdf");
        QStringList args = renderInto(c.form, pdf);
        args += c.keys;
        const Outcome r = bench(args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(QFile::exists(pdf));
        EXPECT_TRUE(r.out.contains(QStringLiteral("1 page(s)"))) << r.out.toStdString();
    }
    const Outcome csv =
        bench({QStringLiteral("render"), work.path(), QStringLiteral("--form"), QStringLiteral("TfrmQR_Kyuyo"),
               QStringLiteral("--pdf"), file("a.pdf"), QStringLiteral("--csv"), file("a.csv"), QStringLiteral("--year"),
               QStringLiteral("2026"), QStringLiteral("--month"), QStringLiteral("04")});
    ASSERT_EQ(csv.code, 0) << csv.err.toStdString();
    const std::string text = rtl::readTextFile(rtl::fromQString(file("a.csv")));
    EXPECT_NE(text.find("1,1,山田太郎,123456,"), std::string::npos);
}

TEST_F(Bench, RendersEachLedgerTheWorkRecordAndTheEnvelopes) {
    insert("emp_tanka",
           {{"E_NO", 1}, {"E_TANCOD", "000001"}, {"E_NAME", "山田太郎"}, {"E_DROPKBN", "1"}, {"PRT_FLG", "1"}});
    payRecord("26/04", 1, {{"S_BASKING", 123456}});
    payRecord("26-1", 1, {{"S_SHOYO_F", "1"}, {"S_BASKING", 400000}});
    insert("kimu_tran", {{"K_TANCOD", 1}, {"K_DATE", 46117.0}});  // 2026-04-07
    conn().close();
    const QStringList month{"--year", "2026", "--month", "04"}, bonus{"--bonus", "1", "--year", "2026"};
    const struct {
        const char* form;
        QStringList keys;
        bool csv;
    } cases[] = {
        {"TfrmQR_KyuyoRep", month, true},
        {"TfrmQR_KyuyoRep2", month, true},
        {"TfrmQR_KyuyoRepN", {"--year", "2026"}, true},
        {"TfrmQR_KyuyoRepS", bonus, true},
        {"TfrmQR_KyuyoRepS2", bonus, true},
        {"TfrmQR_HokenRep", month, true},
        {"TfrmQR_HokenRep2", month, true},
        {"TfrmQR_HokenRepS", bonus, true},
        {"TfrmQR_HokenRepS2", bonus, true},
        {"TfrmQR_Kinmu", month, true},
        {"TfrmQR_FutoL4", {}, false},
        {"TfrmQR_FutoL4C", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.form);
        const QString pdf = file("out.pdf");
        QStringList args = renderInto(c.form, pdf);
        args += c.keys;
        if (c.csv) args += QStringList{QStringLiteral("--csv"), file("out.csv")};
        const Outcome r = bench(args);
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_TRUE(QFile::exists(pdf));
        EXPECT_TRUE(r.out.contains(QStringLiteral("1 page(s), 1 record(s)")) ||
                    (QString::fromLatin1(c.form) == QStringLiteral("TfrmQR_KyuyoRepN") &&
                     r.out.contains(QStringLiteral("2 record(s)"))))
            << r.out.toStdString();
    }
}

TEST_F(Bench, WeeklyPayRendersTheRecordsOfThePeriodsLastDate) {
    payRecord("26/04/07", 1);
    payRecord("26/04/14", 2);
    payRecord("26/04", 3);
    conn().close();
    const Outcome r = bench({QStringLiteral("render"), work.path(), QStringLiteral("--form"),
                             QStringLiteral("TfrmQR_Kyuyo"), QStringLiteral("--pdf"), file("w.pdf"),
                             QStringLiteral("--weekly"), QStringLiteral("2026/04/01"), QStringLiteral("2026/04/07")});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_TRUE(r.out.contains(QStringLiteral("1 record(s)"))) << r.out.toStdString();
}

TEST_F(Bench, FailsClearlyOnWrongInput) {
    const QString dir = work.path(), pdf = file("x.pdf");
    const struct {
        const char* name;
        QStringList args;
        int code;
        const char* message;
    } cases[] = {
        {"unknown form", {"render", dir, "--form", "TfrmQR_Nothing", "--pdf", pdf}, 2, "unknown form 'TfrmQR_Nothing'"},
        {"no form", {"render", dir, "--pdf", pdf}, 2, "missing option --form"},
        {"no output", {"render", dir, "--form", "TfrmQR_Kyuyo", "--year", "2026", "--month", "04"}, 2, "--pdf"},
        {"no month",
         {"render", dir, "--form", "TfrmQR_Kyuyo", "--pdf", pdf, "--year", "2026"},
         2,
         "needs --year YYYY --month MM"},
        {"no bonus", {"render", dir, "--form", "TfrmQR_KyuyoS", "--pdf", pdf, "--year", "2026"}, 2, "needs --bonus N"},
        {"bad month",
         {"render", dir, "--form", "TfrmQR_Kyuyo", "--pdf", pdf, "--year", "2026", "--month", "13"},
         2,
         "not a month"},
        {"no csv export",
         {"render", dir, "--form", "TfrmQR_Minus", "--pdf", pdf, "--csv", file("m.csv"), "--year", "2026", "--month",
          "04"},
         2,
         "has no CSV export"},
        {"not a working folder",
         {"render", file("nowhere"), "--form", "TfrmQR_Kyuyo", "--pdf", pdf, "--year", "2026", "--month", "04"},
         1,
         "no settings file"},
        {"unknown subcommand", {"draw"}, 2, "unknown subcommand 'draw'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Outcome r = bench(c.args);
        EXPECT_EQ(r.code, c.code);
        EXPECT_TRUE(r.err.contains(QString::fromLatin1(c.message))) << r.err.toStdString();
    }
    EXPECT_FALSE(QFile::exists(pdf));
}
