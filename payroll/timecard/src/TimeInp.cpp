#include "timecard/TimeInp.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "data/punches.h"
#include "data/queries.h"
#include "mainlink/mainlink.h"
#include "period/payperiod.h"
#include "rtl/clock.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "rtl/strings.h"
#include "timecard/punchtable.h"
#include "timecard/timecardrules.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/maskedit.h"

namespace {

std::string str(const QLineEdit* e) { return rtl::fromQString(e->text()); }
std::string str(const ui::MaskEdit* e) { return rtl::fromQString(e->text()); }

}  // namespace

TfrmTimeInp::TfrmTimeInp(QWidget* parent, data::TDataModule1* dm)
    : ui::Form(QStringLiteral("frmTimeInp"), parent), dm_(data::dataModule(dm)) {
    setWindowTitle(QStringLiteral("タイムレコーダ"));
    setFont(ui::defaultFont());

    createControls();
    QGridLayout* top = layOutEntry();
    QHBoxLayout* buttons = layOutButtons();
    buildPunchPanel();

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(Label1);
    lay->addLayout(top);
    lay->addLayout(buttons);
    lay->addWidget(Panel1);
    lay->addStretch();

    // Clock-in comes first in the tab order.
    setTabOrder(Button1, MaskEdit1);
    setTabOrder(MaskEdit1, Edit1);
    setTabOrder(Edit1, ComboBox1);
    setTabOrder(ComboBox1, Edit2);
    setTabOrder(Edit2, Edit3);
    setTabOrder(Edit3, MaskEdit2);
    setTabOrder(MaskEdit2, Button2);
    setTabOrder(Button2, btnClose);
    resize(460, 200);
}

void TfrmTimeInp::createControls() {
    Label1 = new QLabel(QStringLiteral("出退入力"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFont(ui::designFont(QStringLiteral("ＭＳ Ｐ明朝"), 16));
    Label1->setAlignment(Qt::AlignCenter);

    MaskEdit1 = new ui::MaskEdit(QStringLiteral("MaskEdit1"), QStringLiteral("!99/99/00;1;_"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(10);
    ComboBox1 = new ui::ComboBox(QStringLiteral("ComboBox1"), this);
    ComboBox1->setMinimumWidth(160);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setMaxLength(2);
    Edit3 = new QLineEdit(this);
    Edit3->setObjectName(QStringLiteral("Edit3"));
    Edit3->setMaxLength(2);
    for (QLineEdit* e : {Edit2, Edit3}) {
        e->setFixedWidth(36);
        e->setAlignment(Qt::AlignCenter);
    }
    MaskEdit2 = new ui::MaskEdit(QStringLiteral("MaskEdit2"), QStringLiteral("!90:00:00>;1;_"), this);
    MaskEdit1->setFixedWidth(90);
    MaskEdit2->setFixedWidth(90);
    Edit1->setFixedWidth(90);

    Button1 = new ui::Button(QStringLiteral("Button1"), QStringLiteral("出勤"), this);
    Button2 = new ui::Button(QStringLiteral("Button2"), QStringLiteral("退勤"), this);
    btnClose = new ui::Button(QStringLiteral("btnClose"), QStringLiteral("閉じる"), this);
    btnChk = new ui::Button(QStringLiteral("btnChk"), QStringLiteral("除"), this);
    btnSeek = new ui::Button(QStringLiteral("btnSeek"), QStringLiteral("&E 社員検索"), this);
    btnChk->hide();
    btnSeek->hide();
    for (ui::Button* b : {Button1, Button2}) {
        b->setMinimumSize(96, 40);
        b->setFont(ui::designFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    }
}

QGridLayout* TfrmTimeInp::layOutEntry() {
    auto* top = new QGridLayout;
    top->addWidget(ui::makeLabel(QStringLiteral("Label2"), QStringLiteral("勤務日付"), MaskEdit1, this), 0, 0);
    top->addWidget(MaskEdit1, 0, 1);
    top->addWidget(ui::makeLabel(QStringLiteral("Label3"), QStringLiteral("社員ｺｰﾄﾞ"), Edit1, this), 1, 0);
    top->addWidget(Edit1, 1, 1);
    top->addWidget(ComboBox1, 1, 2, 1, 2);
    top->addWidget(btnSeek, 1, 4);
    top->addWidget(ui::makeLabel(QStringLiteral("Label4"), QStringLiteral("打刻時刻"), Edit2, this), 2, 0);
    auto* clock = new QHBoxLayout;
    clock->addWidget(Edit2);
    clock->addWidget(new QLabel(QStringLiteral(":"), this));
    clock->addWidget(Edit3);
    clock->addStretch();
    top->addLayout(clock, 2, 1);
    top->addWidget(MaskEdit2, 2, 2);
    top->setColumnStretch(3, 1);
    Edit3->setAccessibleName(QStringLiteral("打刻時刻 分"));
    ComboBox1->setAccessibleName(QStringLiteral("氏名"));
    MaskEdit2->setAccessibleName(QStringLiteral("現在時刻"));
    return top;
}

QHBoxLayout* TfrmTimeInp::layOutButtons() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(btnChk);
    buttons->addStretch();
    buttons->addWidget(btnClose);
    return buttons;
}

void TfrmTimeInp::buildPunchPanel() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    auto bound = [this](const char* name, const char* field, int width) {
        ui::DBEdit* e = ui::makeDBEdit(QString::fromLatin1(name), &dm_.DataSource1, QString::fromUtf8(field), Panel1);
        e->setFixedWidth(width);
        e->setAccessibleName(QString::fromUtf8(field));
        return e;
    };
    DBEdit1 = bound("DBEdit1", "月", 32);
    DBEdit2 = bound("DBEdit2", "日", 32);
    DBEdit3 = bound("DBEdit3", "時", 32);
    DBEdit4 = bound("DBEdit4", "分", 32);
    DBEdit5 = bound("DBEdit5", "秒", 32);
    DBEdit6 = bound("DBEdit6", "IDコード", 90);
    DBEdit7 = bound("DBEdit7", "入退", 32);
    DBEdit8 = bound("DBEdit8", "異例コード", 40);
    DBEdit9 = bound("DBEdit9", "CR", 32);
    DBNavigator1 = new ui::DBNavigator(QStringLiteral("DBNavigator1"), Panel1);
    DBNavigator1->setDataSource(&dm_.DataSource1);
    DBNavigator1->setCaptions({QStringLiteral("&F 先頭"), QStringLiteral("&P 前行"), QStringLiteral("&N 次行"),
                               QStringLiteral("&L 最後"), QStringLiteral("追加"), QStringLiteral("削除"),
                               QStringLiteral("&E 編集"), QStringLiteral("登録"), QStringLiteral("取消"),
                               QStringLiteral("&R 更新")});
    DBNavigator1->setVisibleButtons({ui::NavButton::Delete, ui::NavButton::Post, ui::NavButton::Cancel});

    auto* panel = new QGridLayout(Panel1);
    auto pair = [this, panel](int row, const QString& caption, std::initializer_list<ui::DBEdit*> edits) {
        auto* label = new QLabel(caption, Panel1);
        panel->addWidget(label, row, 0);
        auto* line = new QHBoxLayout;
        for (ui::DBEdit* e : edits) line->addWidget(e);
        line->addStretch();
        panel->addLayout(line, row, 1);
        ui::bindLabel(label, *edits.begin());
    };
    pair(0, QStringLiteral("日付"), {DBEdit1, DBEdit2});
    pair(1, QStringLiteral("時刻"), {DBEdit3, DBEdit4, DBEdit5});
    pair(2, QStringLiteral("社員ID"), {DBEdit6});
    pair(3, QStringLiteral("入退"), {DBEdit7});
    pair(4, QStringLiteral("異例コード"), {DBEdit8});
    pair(5, QStringLiteral("CR"), {DBEdit9});
    panel->addWidget(DBNavigator1, 6, 0, 1, 2);
    Panel1->hide();
}

void TfrmTimeInp::FormCreate() {
    setEnterMovesFocus(true);
    setOnExit(Edit1, [this] { Edit1Exit(); });
    ComboBox1->setOnChange([this] { ComboBox1Change(); });
    Button1->setOnClick([this] { Button1Click(); });
    Button2->setOnClick([this] { Button2Click(); });
    btnChk->setOnClick([this] { btnChkClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
    btnSeek->setOnClick([this] { btnSeekClick(); });
}

void TfrmTimeInp::FormShow() {
    const timecard::EntryClock clock = timecard::entryClock(rtl::now());
    MaskEdit1->setText(rtl::toQString(clock.workDate));
    MaskEdit2->setText(rtl::toQString(clock.time));
    Edit2->setText(rtl::toQString(clock.hour));
    Edit3->setText(rtl::toQString(clock.minute));

    // Every employee.
    ComboBox1->clear();
    QStringList names;
    std::string firstName, firstCard;
    timecard::forEachEmployee(dm_.ADOConnection1, [&](db::Dataset& emp) {
        if (names.isEmpty()) {
            firstName = emp["E_NAME"].asString();
            firstCard = emp["E_CARDNO"].asString();
        }
        names << rtl::toQString(emp["E_NAME"].asString());
    });
    ComboBox1->setItems(names);
    ComboBox1->setText(rtl::toQString(firstName));
    Edit1->setText(rtl::toQString(firstCard));

    dm_.ADOTable1.setFiltered(false);
    dm_.ADOTable1.setFilter({});
    dm_.ADOTable1.open();
    Button1->setFocus();
}

void TfrmTimeInp::Edit1Exit() {
    ComboBox1->setText(rtl::toQString(timecard::lookupEmployee(dm_.ADOConnection1, "E_CARDNO", str(Edit1), "E_NAME")));
}

void TfrmTimeInp::ComboBox1Change() {
    Edit1->setText(rtl::toQString(
        timecard::lookupEmployee(dm_.ADOConnection1, "E_NAME", rtl::fromQString(ComboBox1->text()), "E_CARDNO")));
}

void TfrmTimeInp::btnChkClick() {
    // The company master may be showing the company table: it stays as it is.
    const period::PunchPeriod payPeriod = period::punchPeriod(data::readClosingDay(dm_), str(MaskEdit1));
    const long long outside = data::countPunchesOutside(dm_, payPeriod.firstMonth, payPeriod.lastMonth);
    if (outside <= 0) return;
    if (!ui::askYesNo(QStringLiteral("日付を確認して下さい。正しいですか。"), QStringLiteral("日付範囲違反"))) return;
    if (!ui::askYesNo(QStringLiteral("データを初期化しますか？\n給与台帳の印刷済んでいますか？"),
                      QStringLiteral("データ全削除")))
        return;
    data::deleteAllPunches(dm_);
    // The panel must not go on showing punches that are gone.
    if (dm_.ADOTable1.active()) dm_.ADOTable1.refresh();
}

void TfrmTimeInp::Button1Click() { punch("0"); }

void TfrmTimeInp::Button2Click() { punch("1"); }

void TfrmTimeInp::punch(const char* inOut) {
    btnChkClick();

    const period::WorkDate d = period::parseWorkDate(str(MaskEdit1));
    const std::string month = rtl::twoDigits(d.month);
    const std::string day = rtl::twoDigits(d.day);
    const timecard::PunchTime t = timecard::punchTime(str(Edit2), str(Edit3));
    const std::string card = str(Edit1);

    const long long same = data::countPunchesOf(dm_, card, month, day, inOut);

    db::Table& punches = dm_.ADOTable1;
    if (!punches.active()) punches.open();
    if (same == 0) {
        punches.append();
        punches["月"].setAsString(month);
        punches["日"].setAsString(day);
        punches["時"].setAsString(t.hour);
        punches["分"].setAsString(t.minute);
        punches["秒"].setAsString("00");
        punches["IDコード"].setAsString(card);
        punches["入退"].setAsString(inOut);
        punches["異例コード"].setAsString("00");
        punches["CR"].setAsString("0");
        punches.post();
    } else {
        // Nothing is written: the panel shows the punch that is already
        // there, found by the same card, month, day and flag the count used.
        punches.checkBrowseMode();
        punches.locate("IDコード;月;日;入退",
                       {db::Value(card), db::Value(month), db::Value(day), db::Value(std::string(inOut))});
    }
    Panel1->show();
}

void TfrmTimeInp::btnCloseClick() {
    mainlink::setPunchButtons(data::countPunches(dm_) > 0);
    close();
}

void TfrmTimeInp::FormClose(ui::CloseAction& action) {
    (void)action;
    dm_.ADOTable1.close();
    Panel1->hide();
}

void TfrmTimeInp::btnSeekClick() { mainlink::showEmployeePicker(QStringLiteral("TimeInp")); }
