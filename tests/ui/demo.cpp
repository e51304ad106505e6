// Renders a small data window offscreen into a PNG, to look at how the
// controls and their Japanese texts come out: ui_demo <output.png>
#include "ui/app.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"
#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/maskedit.h"

#include <db/db.h>

#include <QGridLayout>
#include <QLabel>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: ui_demo <output.png>\n");
        return 2;
    }
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    ui::Application app(argc, argv);
    QTemporaryDir dir;
    const std::string path = dir.filePath(QStringLiteral("demo.mdb")).toStdString();
    db::Connection::createDatabaseFile(path);
    db::Connection conn;
    conn.setDatabasePath(path);
    conn.execute(
        "CREATE TABLE emp_tanka (E_NO INTEGER, E_TANCOD VARCHAR(10), E_NAME VARCHAR(20), "
        "E_CARDNO VARCHAR(10), E_REST_YN VARCHAR(1), E_BASEPAY DOUBLE)");
    conn.execute("INSERT INTO emp_tanka VALUES (1, '000001', '山田 太郎', '000001', '1', 1200)");
    conn.execute("INSERT INTO emp_tanka VALUES (2, '000002', '佐藤 花子', '000002', '0', 1050)");
    conn.execute("INSERT INTO emp_tanka VALUES (3, '000003', '鈴木 一郎', '1003', '1', 980)");
    db::Table emp(&conn, "emp_tanka");
    emp.setTableName("emp_tanka");
    emp.setIndexFieldNames("E_NO");
    emp.open();
    emp["E_BASEPAY"].setDisplayFormat("#,##0");
    db::DataSource ds(&emp, "DSemp_tanka");
    {
        ui::Form form(QStringLiteral("frmEmp_Tanka"));
        form.setWindowTitle(QStringLiteral("個人単価表"));
        auto* lay = new QGridLayout(&form);
        auto* title = new QLabel(QStringLiteral("個人別単価"), &form);
        title->setFont(ui::designFont(QStringLiteral("ＭＳ Ｐ明朝"), 14));
        lay->addWidget(title, 0, 0, 1, 3);
        auto* grid = new ui::DBGrid(QStringLiteral("DBGrid1"), &form);
        grid->setColumns({{"E_NO", "NO", 36, true, true, false},
                          {"E_TANCOD", "社員番号", 70, true, false, false},
                          {"E_NAME", "氏名", 90, true, false, true},
                          {"E_CARDNO", "カードNO", 70, true, false, false}});
        grid->setRowSelect(true);
        grid->setDataSource(&ds);
        grid->setOnDrawCell([](ui::CellStyle& st) {
            if (st.value(QStringLiteral("E_REST_YN")) == QStringLiteral("0") && !st.selected)
                st.foreground = Qt::darkRed;
        });
        lay->addWidget(grid, 1, 0, 4, 1);
        auto* name = new ui::DBEdit(QStringLiteral("DBEdit3"), &form);
        name->setDataSource(&ds);
        name->setDataField(QStringLiteral("E_NAME"));
        lay->addWidget(ui::makeLabel(QStringLiteral("Label3"), QStringLiteral("氏名"), name, &form), 1, 1);
        lay->addWidget(name, 1, 2);
        auto* pay = new ui::DBEdit(QStringLiteral("DBEdit8"), &form);
        pay->setDataSource(&ds);
        pay->setDataField(QStringLiteral("E_BASEPAY"));
        lay->addWidget(ui::makeLabel(QStringLiteral("Label8"), QStringLiteral("基本単価"), pay, &form), 2, 1);
        lay->addWidget(pay, 2, 2);
        auto* rest = new ui::DBCheckBox(QStringLiteral("DBCheckBox1"), QStringLiteral("休憩の有無"), &form);
        rest->setDataSource(&ds);
        rest->setDataField(QStringLiteral("E_REST_YN"));
        lay->addWidget(rest, 3, 2);
        auto* date = new ui::MaskEdit(QStringLiteral("MaskEdit1"), QStringLiteral("!99/99/00;1;_"), &form);
        date->setText(QStringLiteral("24/05/20"));
        lay->addWidget(ui::makeLabel(QStringLiteral("Label9"), QStringLiteral("勤務日付"), date, &form), 4, 1);
        lay->addWidget(date, 4, 2);
        auto* nav = new ui::DBNavigator(QStringLiteral("DBNavigator1"), &form);
        nav->setDataSource(&ds);
        nav->setCaptions(
            {"&F 先頭", "&P 前行", "&N 次行", "&L 最後", "追加", "削除", "&E 編集", "登録", "取消", "&R 更新"});
        lay->addWidget(nav, 5, 0, 1, 3);
        form.resize(620, 260);
        form.show();
        emp.next();
        app.processEvents();
        if (!form.grab().save(QString::fromLocal8Bit(argv[1]))) {
            std::fprintf(stderr, "cannot write %s\n", argv[1]);
            return 1;
        }
    }
    return 0;
}
