// Not a test: draws the master windows offscreen into PNG files, to look at
// how their Japanese texts and layouts come out:
//   masters_screenshot <folder>   (frmEmp_Tanka.png, frmEmp_Tanka_2.png, ...)
#include <QDir>
#include <QTabWidget>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

#include "data/DB_Acs.h"
#include "data/delivered.h"
#include "masters/Company.h"
#include "masters/Emp_Seek.h"
#include "masters/Emp_Tanka.h"
#include "masters/Emp_mas.h"
#include "masters/Job_kbn.h"
#include "masters/Sys_mas.h"
#include "masters/Title_mas.h"
#include "ui/app.h"

namespace {
bool save(QWidget* w, const QString& path) {
    QApplication::processEvents();
    if (w->grab().save(path)) return true;
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return false;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: masters_screenshot <folder>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    const QDir out(QString::fromLocal8Bit(argv[1]));
    QTemporaryDir work;
    const std::string path = QDir(work.path()).filePath(QStringLiteral("Wendrasol.mdb")).toStdString();
    data::createDeliveredDatabase(path);
    data::TDataModule1* dm = data::createDataModule1();
    dm->setDatabasePath(path);
    dm->ADOConnection1.execute(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_JOBKBN, E_DROPKBN, E_BARTH, E_REST_YN, "
        "E_REST_NN, E_PAYKBN, E_BASE_YN, E_BASEPAY, E_HAYZ_YN, E_HAYZPAY, E_FUTZ_YN, E_FUTZPAY, E_SINZ_YN, "
        "E_SINZPAY, E_KYU_YN, E_KYU_PAY, E_TIKO_YN, E_TIKOKU, E_SOUT_YN, E_SOUTAI, E_KNTKBN, E_BIKO, "
        "E_KOTUHI, E_GKING_S1, E_GKING_K1, E_NAFURI, E_ZIP, E_ADD1) VALUES "
        "(1, '000001', '山田 太郎', '000001', '01', '1', 23000, '1', 0, '2', '1', 1200, '1', 1500, '1', 1500, "
        "'1', 1800, '0', 0, '0', 0, '0', 0, 1, '店長', 12000, '1', 5000, 'ﾔﾏﾀﾞ ﾀﾛｳ', '1000001', '東京都千代田区')");
    dm->ADOConnection1.execute(
        "INSERT INTO emp_tanka (E_NO, E_TANCOD, E_NAME, E_CARDNO, E_DROPKBN) VALUES "
        "(2, '000002', '佐藤 花子', '000002', '1'), (3, '000003', '鈴木 一郎', '1003', '0')");
    bool ok = true;
    {
        auto* emp = ui::createForm<TfrmEmp_Tanka>();
        emp->show();
        ok &= save(emp, out.filePath(QStringLiteral("frmEmp_Tanka.png")));
        emp->PageControl1->setCurrentIndex(1);
        ok &= save(emp, out.filePath(QStringLiteral("frmEmp_Tanka_2.png")));
        emp->PageControl1->setCurrentIndex(2);
        ok &= save(emp, out.filePath(QStringLiteral("frmEmp_Tanka_3.png")));
        emp->close();
        delete emp;
    }
    auto shot = [&](ui::Form* f, const char* file) {
        f->show();
        ok &= save(f, out.filePath(QString::fromLatin1(file)));
        f->close();
        delete f;
    };
    dm->ADOConnection1.execute(
        "INSERT INTO 個人 (NO, 社員番号, 氏名, カード番号, 区分, 対象) VALUES "
        "('1', '000001', '山田 太郎', '1001', '01', '1'), "
        "('2', '000002', '佐藤 花子', '1002', '01', '1')");
    shot(ui::createForm<TfrmEmp_mas>(), "frmEmp_mas.png");
    shot(ui::createForm<TfrmJob_kbn>(), "frmJob_kbn.png");
    shot(ui::createForm<TfrmCompany>(), "frmCompany.png");
    shot(ui::createForm<TfrmTitle_mas>(), "frmTitle_mas.png");
    shot(ui::createForm<TfrmSys_mas>(), "frmSys_mas.png");
    shot(ui::createForm<TfrmEmp_seek>(), "frmEmp_seek.png");
    data::destroyDataModule1();
    return ok ? 0 : 1;
}
