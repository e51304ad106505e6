#include "timecard/TimeInpRep.h"

#include <QCalendarWidget>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "data/punches.h"
#include "mainlink/mainlink.h"
#include "rtl/clock.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "rtl/strings.h"
#include "timecard/punchtable.h"
#include "timecard/timecardrules.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"

namespace {}  // namespace

QString TfrmTimeInpRep::allEmployees() { return QStringLiteral("全社員"); }

TfrmTimeInpRep::TfrmTimeInpRep(QWidget* parent, data::TDataModule1* dm)
    : ui::Form(QStringLiteral("frmTimeInpRep"), parent), dm_(data::dataModule(dm)) {
    setWindowTitle(QStringLiteral("出勤簿"));
    setFont(ui::defaultFont());

    QHBoxLayout* bar = buildTopBar();
    buildGrid();
    QGridLayout* right = buildPunchEditor();

    auto* body = new QHBoxLayout;
    body->addWidget(DBGrid1, 1);
    body->addLayout(right);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(bar);
    lay->addLayout(body, 1);

    setTabOrder(ComboBox1, btnSeek);
    setTabOrder(btnSeek, Button1);
    setTabOrder(Button1, DBGrid1);
    setTabOrder(DBGrid1, DBEdit1);
    setTabOrder(DBEdit1, DBEdit4);
    setTabOrder(DBEdit4, DBEdit5);
    setTabOrder(DBEdit5, DBEdit6);
    setTabOrder(DBEdit6, DBEdit7);
    setTabOrder(DBEdit7, DBComboBox1);
    setTabOrder(DBComboBox1, MonthCalendar1);
    setTabOrder(MonthCalendar1, btnGetMD);
    setTabOrder(btnGetMD, btnClose);
    resize(760, 520);
}

// The employee choice and the delete button.
QHBoxLayout* TfrmTimeInpRep::buildTopBar() {
    ComboBox1 = new ui::ComboBox(QStringLiteral("ComboBox1"), this);
    ComboBox1->setMinimumWidth(180);
    btnSeek = new ui::Button(QStringLiteral("btnSeek"), QStringLiteral("&E 社員検索"), this);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->hide();
    btnSQL_do = new ui::Button(QStringLiteral("btnSQL_do"), QStringLiteral("SQL"), this);
    btnSQL_do->hide();
    Button1 = new ui::Button(QStringLiteral("Button1"), QStringLiteral("&R データ削除"), this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(ui::makeLabel(QStringLiteral("Label1"), QStringLiteral("社員選択"), ComboBox1, this));
    bar->addWidget(ComboBox1);
    bar->addWidget(btnSeek);
    bar->addWidget(Edit1);
    bar->addWidget(btnSQL_do);
    bar->addStretch();
    bar->addWidget(Button1);
    return bar;
}

// Every punch of the current load.
void TfrmTimeInpRep::buildGrid() {
    db::DataSource* src = &dm_.DSTimeCardInp;
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({{QStringLiteral("IDコード"), QStringLiteral("IDコード"), 70, true, true, false},
                         {QStringLiteral("E_NAME"), QStringLiteral("氏名"), 100, true, true, false},
                         {QStringLiteral("月"), QStringLiteral("月"), 32, true, true, false},
                         {QStringLiteral("日"), QStringLiteral("日"), 32, true, true, false},
                         {QStringLiteral("時"), QStringLiteral("時"), 32, true, true, false},
                         {QStringLiteral("分"), QStringLiteral("分"), 32, true, true, false},
                         {QStringLiteral("入退"), QStringLiteral("入退"), 36, true, true, false},
                         {QStringLiteral("InOut_flg"), QStringLiteral("出退"), 48, true, true, false}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataSource(src);
    DBGrid1->setMinimumWidth(420);
    DBGrid1->setAccessibleName(QStringLiteral("タイムカード"));
}

// The current punch, the calendar and the navigator.
QGridLayout* TfrmTimeInpRep::buildPunchEditor() {
    db::DataSource* src = &dm_.DSTimeCardInp;
    auto bound = [this, src](const char* name, const char* field, int width) {
        ui::DBEdit* e = ui::makeDBEdit(QString::fromLatin1(name), src, QString::fromUtf8(field), this);
        e->setFixedWidth(width);
        return e;
    };
    DBEdit1 = bound("DBEdit1", "IDコード", 90);
    DBLookupComboBox1 = bound("DBLookupComboBox1", "E_NAME", 150);
    DBEdit2 = bound("DBEdit2", "InOut_flg", 50);
    DBEdit4 = bound("DBEdit4", "月", 36);
    DBEdit5 = bound("DBEdit5", "日", 36);
    DBEdit6 = bound("DBEdit6", "時", 36);
    DBEdit7 = bound("DBEdit7", "分", 36);
    DBLookupComboBox1->setFocusPolicy(Qt::ClickFocus);
    DBEdit2->setFocusPolicy(Qt::ClickFocus);
    DBLookupComboBox1->setAccessibleName(QStringLiteral("氏名"));
    DBEdit2->setAccessibleName(QStringLiteral("出退"));
    DBComboBox1 = new ui::DBComboBox(QStringLiteral("DBComboBox1"), this);
    DBComboBox1->setDataSource(src);
    DBComboBox1->setDataField(QStringLiteral("入退"));
    DBComboBox1->setItems({QStringLiteral("0"), QStringLiteral("1")});
    DBComboBox1->setFixedWidth(60);
    MonthCalendar1 = new QCalendarWidget(this);
    MonthCalendar1->setObjectName(QStringLiteral("MonthCalendar1"));
    MonthCalendar1->setLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    MonthCalendar1->setFirstDayOfWeek(Qt::Sunday);
    MonthCalendar1->setVerticalHeaderFormat(QCalendarWidget::NoVerticalHeader);
    MonthCalendar1->setSelectedDate(rtl::toQDate(rtl::today()));
    MonthCalendar1->setAccessibleName(QStringLiteral("カレンダー"));
    btnGetMD = new ui::Button(QStringLiteral("btnGetMD"), QStringLiteral("カレンダーより日付取込"), this);
    btnClose = new ui::Button(QStringLiteral("btnClose"), QStringLiteral("&Q 閉じる"), this);
    DBNavigator1 = new ui::DBNavigator(QStringLiteral("DBNavigator1"), this);
    DBNavigator1->setDataSource(src);
    DBNavigator1->setCaptions({QStringLiteral("&F 先頭"), QStringLiteral("&P 前行"), QStringLiteral("&N 次行"),
                               QStringLiteral("&L 最後"), QStringLiteral("追加"), QStringLiteral("削除"),
                               QStringLiteral("&E 編集"), QStringLiteral("登録"), QStringLiteral("取消"),
                               QStringLiteral("&R 更新")});
    DBNavigator1->setVisibleButtons(
        {ui::NavButton::Insert, ui::NavButton::Delete, ui::NavButton::Post, ui::NavButton::Cancel});

    auto* right = new QGridLayout;
    int row = 0;
    auto line = [&](const char* label, const char* labelName, QWidget* control, QWidget* beside = nullptr) {
        right->addWidget(ui::makeLabel(QString::fromLatin1(labelName), QString::fromUtf8(label), control, this), row,
                         0);
        auto* h = new QHBoxLayout;
        h->addWidget(control);
        if (beside) h->addWidget(beside);
        h->addStretch();
        right->addLayout(h, row, 1);
        ++row;
    };
    line("IDコード", "Label2", DBEdit1, DBLookupComboBox1);
    line("出退", "Label3", DBEdit2);
    line("月", "Label4", DBEdit4);
    line("日", "Label5", DBEdit5);
    line("時", "Label6", DBEdit6);
    line("分", "Label7", DBEdit7);
    line("入退", "Label8", DBComboBox1);
    right->addWidget(MonthCalendar1, row++, 0, 1, 2);
    auto* calButtons = new QHBoxLayout;
    calButtons->addWidget(btnGetMD);
    calButtons->addStretch();
    calButtons->addWidget(btnClose);
    right->addLayout(calButtons, row++, 0, 1, 2);
    right->addWidget(DBNavigator1, row++, 0, 1, 2);
    right->setRowStretch(row, 1);
    return right;
}

void TfrmTimeInpRep::FormCreate() {
    // Enter moves to the next field and goes no further, so nothing beeps.
    setEnterMovesFocus(true);
    ComboBox1->setOnChange([this] { ComboBox1Change(); });
    btnSQL_do->setOnClick([this] { btnSQL_doClick(); });
    setOnEnter(DBEdit1, [this] { DBEdit1Enter(); });
    setOnExit(DBEdit4, [this] { DBEdit4Exit(); });
    setOnExit(DBEdit5, [this] { DBEdit5Exit(); });
    setOnExit(DBEdit6, [this] { DBEdit6Exit(); });
    setOnExit(DBEdit7, [this] { DBEdit7Exit(); });
    btnGetMD->setOnClick([this] { btnGetMDClick(); });
    Button1->setOnClick([this] { Button1Click(); });
    DBNavigator1->setBeforeAction([this](ui::NavButton b) { DBNavigator1BeforeAction(b); });
    DBNavigator1->setOnClick([this](ui::NavButton b) { DBNavigator1Click(b); });
    btnSeek->setOnClick([this] { btnSeekClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
}

void TfrmTimeInpRep::FormShow() {
    mainlink::fillEmployeeBox(*ComboBox1, dm_, allEmployees());
    // However the post comes: the navigator, a move to another row, the
    // save question on close.
    if (!checkingPosts_) {
        db::Query& punches = dm_.TimeCardInp;
        previousBeforePost_ = punches.beforePost;
        punches.beforePost = [this, previous = previousBeforePost_](db::Dataset& ds) {
            TimeCardInpBeforePost();
            if (previous) previous(ds);
        };
        checkingPosts_ = true;
    }
    btnSQL_doClick();
}

void TfrmTimeInpRep::TimeCardInpBeforePost() {
    db::Field& f = dm_.TimeCardInp["入退"];
    if (timecard::isInOutFlag(f.isNull() ? std::nullopt : std::optional<std::string>(f.asString()))) return;
    ui::showMessage(QString::fromUtf8(timecard::inOutMissingMessage));
    moveFocusTo(DBComboBox1);
    rtl::abortSilently();
}

bool TfrmTimeInpRep::allChosen() const { return ComboBox1->text() == allEmployees(); }

void TfrmTimeInpRep::ComboBox1Change() {
    if (!allChosen()) {
        // A name that is being typed, or that no employee in service has,
        // chooses nobody: the list goes empty instead of failing.
        Edit1->setText(rtl::toQString(timecard::cardOfEmployeeInService(dm_, rtl::fromQString(ComboBox1->text()))));
    }
    btnSQL_doClick();
}

void TfrmTimeInpRep::btnSQL_doClick() {
    db::Query& q = dm_.TimeCardInp;
    // A row being corrected is kept, as moving to another row would keep it.
    if (q.active()) q.checkBrowseMode();
    data::openPunchList(dm_, allChosen() ? std::nullopt : std::optional(rtl::fromQString(Edit1->text())));
}

void TfrmTimeInpRep::DBEdit1Enter() {
    db::Query& q = dm_.TimeCardInp;
    if (!q.active() || allChosen()) return;
    // Only a row that exists or is being added: entering the field of an
    // empty list must not start a row by itself.
    if (q.isEmpty() && q.state() != db::DatasetState::Insert) return;
    if (!q["IDコード"].isNull()) return;
    q.edit();
    q["IDコード"].setAsString(rtl::fromQString(Edit1->text()));
}

void TfrmTimeInpRep::checkField(ui::DBEdit* edit, const char* fieldName, int field) {
    db::Query& q = dm_.TimeCardInp;
    // Nothing to check while there is no row at all.
    if (!q.active() || (q.isEmpty() && q.state() == db::DatasetState::Browse)) return;
    db::Field& f = q[fieldName];
    std::optional<std::string> value;
    if (!f.isNull()) value = f.asString();
    const std::optional<std::string> accepted =
        timecard::checkPunchField(static_cast<timecard::PunchField>(field), value);
    if (!accepted) {
        ui::showMessage(QString::fromUtf8(timecard::invalidDataMessage));
        edit->setFocus();
        rtl::abortSilently();
    }
    if (*accepted != *value) {
        q.edit();
        f.setAsString(*accepted);
    }
}

void TfrmTimeInpRep::DBEdit4Exit() { checkField(DBEdit4, "月", static_cast<int>(timecard::PunchField::Month)); }
void TfrmTimeInpRep::DBEdit5Exit() { checkField(DBEdit5, "日", static_cast<int>(timecard::PunchField::Day)); }
void TfrmTimeInpRep::DBEdit6Exit() { checkField(DBEdit6, "時", static_cast<int>(timecard::PunchField::Hour)); }
void TfrmTimeInpRep::DBEdit7Exit() { checkField(DBEdit7, "分", static_cast<int>(timecard::PunchField::Minute)); }

void TfrmTimeInpRep::btnGetMDClick() {
    db::Query& q = dm_.TimeCardInp;
    const QDate date = MonthCalendar1->selectedDate();
    const std::string mm = rtl::twoDigits(date.month());
    const std::string dd = rtl::twoDigits(date.day());
    if (q.active()) {
        const bool fresh = q["月"].isNull();
        if (fresh || ui::askYesNo(QStringLiteral("日付を変更していいですか？"), QStringLiteral("日付データ"))) {
            q.edit();
            q["月"].setAsString(mm);
            q["日"].setAsString(dd);
        }
    }
    moveFocusTo(DBEdit6);
}

void TfrmTimeInpRep::Button1Click() {
    if (data::countPunches(dm_) <= 0) return;
    if (!ui::askYesNo(QStringLiteral("タイムカードの一時データを削除しますか？"), QStringLiteral("日付データ"))) return;
    data::deleteAllPunches(dm_);
    // A row being added or corrected is gone with the others.
    if (dm_.TimeCardInp.active()) dm_.TimeCardInp.cancel();
    // The list shows what is left, not the rows just deleted.
    btnSQL_doClick();
}

void TfrmTimeInpRep::DBNavigator1BeforeAction(ui::NavButton) {
    db::Query& q = dm_.TimeCardInp;
    const bool noMonth = !q.active() || q["月"].isNull();
    // Leaving the field runs its check; a refused value stops the action.
    if (!moveFocusTo(noMonth ? static_cast<QWidget*>(DBEdit2) : DBEdit1)) rtl::abortSilently();
}

void TfrmTimeInpRep::DBNavigator1Click(ui::NavButton) {
    db::Query& q = dm_.TimeCardInp;
    const bool noMonth = !q.active() || q["月"].isNull();
    // By way of the in/out word, so that entering IDコード runs again.
    if (noMonth && !moveFocusTo(DBEdit2)) return;
    moveFocusTo(DBEdit1);
}

void TfrmTimeInpRep::btnSeekClick() { mainlink::showEmployeePicker(QStringLiteral("TimeInpRep")); }

void TfrmTimeInpRep::btnCloseClick() { close(); }

void TfrmTimeInpRep::FormClose(ui::CloseAction& action) {
    (void)action;
    dm_.TimeCardInp.close();
    stopCheckingPosts();
}

TfrmTimeInpRep::~TfrmTimeInpRep() { stopCheckingPosts(); }

void TfrmTimeInpRep::stopCheckingPosts() {
    if (!checkingPosts_) return;
    dm_.TimeCardInp.beforePost = std::move(previousBeforePost_);
    previousBeforePost_ = nullptr;
    checkingPosts_ = false;
}
