// Draws the monthly pay record, the bonus record and the deduction slip
// offscreen into PNGs, to look at how they come out: total_screenshot <folder>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "payrecord/actions.h"
#include "rtl/clock.h"
#include "rtl/datetime.h"
#include "total/Mainus.h"
#include "total/Total.h"
#include "total/TotalB.h"
#include "total/calcdialogs.h"
#include "ui/action.h"
#include "ui/app.h"
#include "ui/dialogs.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: total_screenshot <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    rtl::ScopedTestClock clock(rtl::encodeDateTime(2026, 5, 10, 9, 0, 0));
    ui::ScriptedDialogs dialogs;
    QTemporaryDir dir;
    QDir::setCurrent(dir.path());
    const std::string path = dir.filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
    data::createDeliveredDatabase(path);
    data::createDataModule1()->setDatabasePath(path);
    db::Connection& c = data::DataModule1->ADOConnection1;
    c.execute(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_JOBKBN, E_DROPKBN, E_PAYKBN, E_BASEPAY, E_KOTUHI, "
        "E_HOKEN_YN, E_NENKIN_YN, E_KOYOU_YN, E_KNTKBN, E_JYUMIN_Z, E_GKING_S1, E_GKING_K1, E_FUTZPAY, E_BARTH) "
        "VALUES (1, '000001', '山田太郎', '01', '1', '0', 250000, 800, 1, 1, '1', 1, 12000, '1', 10000, 1900, 29373)");
    c.execute(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_JOBKBN, E_DROPKBN, E_PAYKBN, E_BASEPAY, E_KOTUHI, "
        "E_HOKEN_YN, E_KOYOU_YN, E_KNTKBN, E_GKING_S2, E_GKING_K2) "
        "VALUES (7, '000007', '佐藤花子', '01', '1', '1', 9000, 15000, 1, '1', 0, '0', 500)");
    c.execute(
        "INSERT INTO sum_tran (S_TANCOD, S_DATE, S_SEQNO, S_DAYS, S_KINMU, S_BASKING, S_FUTZAN, S_FUTKING, "
        "S_TIKOKU, S_TIKKING) VALUES (1, '26/04', 1, 20, 9600, 250000, 480, 15200, 30, 950)");
    c.execute(
        "INSERT INTO sum_tran (S_TANCOD, S_DATE, S_SEQNO, S_DAYS, S_KINMU, S_BASKING, S_KOTUHI) "
        "VALUES (7, '26/04', 1, 18, 8100, 162000, 15000)");
    c.execute("INSERT INTO sum_tran (S_TANCOD, S_DATE, S_SEQNO, S_SHOYO_F) VALUES (1, '26-1', 1, '1')");
    payrecord::calculateMonth(*data::DataModule1, "26/04", rtl::today());

    auto main = std::make_unique<QWidget>();
    main->setObjectName(QStringLiteral("frmMain"));
    for (auto [name, text] :
         {std::pair{"EditYY", "2026"}, {"EditMM", "04"}, {"EditD2", "2026/04/30"}, {"EditYY2", "2026"}}) {
        auto* e = new QLineEdit(QString::fromLatin1(text), main.get());
        e->setObjectName(QString::fromLatin1(name));
    }
    (new QCheckBox(main.get()))->setObjectName(QStringLiteral("CheckBox2"));
    auto* bonus = new QComboBox(main.get());
    bonus->setObjectName(QStringLiteral("ComboBox1"));
    bonus->addItem(QStringLiteral("1"));
    std::unique_ptr<TDlgCalcTime> calcTime(ui::createForm<TDlgCalcTime>());
    std::unique_ptr<TDlgCalcCount> calcCount(ui::createForm<TDlgCalcCount>());

    const QString out = QString::fromLocal8Bit(argv[1]);
    int rc = 0;
    auto save = [&](QWidget* w, const char* file) {
        app.processEvents();
        if (!w->grab().save(out + "/" + QString::fromLatin1(file))) rc = 1;
    };
    {
        std::unique_ptr<TfrmTotal> total(ui::createForm<TfrmTotal>());
        total->show();
        save(total.get(), "frmTotal.png");
        total->fieldDblClick(total->edit(QStringLiteral("DBEdit11")));
        calcTime->adjustSize();
        save(calcTime.get(), "DlgCalcTime.png");
        calcTime->close();
        auto slip = std::unique_ptr<TfrmMainus>(ui::createForm<TfrmMainus>());
        slip->setOrigin(payrecord::SlipOrigin{"26/04", 1, 1, true, 233000, true});
        slip->show();
        data::DataModule1->minus_dat.fieldByName("M_DAT_0").setAsString("組合費");
        data::DataModule1->minus_dat.fieldByName("M_KING_0").setAsInteger(1500);
        slip->spButtons[1]->click();
        save(slip.get(), "frmMainus.png");
        data::DataModule1->minus_dat.cancel();
        slip->close();
        total->close();
    }
    {
        std::unique_ptr<TfrmTotalB> b(ui::createForm<TfrmTotalB>());
        b->show();
        b->Edit1->setText(QStringLiteral("2"));
        b->Act_KingSetExecute();
        b->btnKingCalc->click();
        save(b.get(), "frmTotalB.png");
        data::DataModule1->sum_tran.cancel();
        b->close();
    }
    data::destroyDataModule1();
    return rc;
}
