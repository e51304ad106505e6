#include "paydata/MainRep.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

#include "attendance/monthtotals.h"
#include "attendance/periodcheck.h"
#include "attendance/periodrecompute.h"
#include "attendance/punchimport.h"
#include "attendance/rowrecompute.h"
#include "attendance/store.h"
#include "data/DB_Acs.h"
#include "data/queries.h"
#include "mainlink/mainlink.h"
#include "paydata/ClockDialogs.h"
#include "period/keys.h"
#include "rtl/convert.h"
#include "rtl/datetime.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/busy.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/windows.h"

namespace {

// The six time kinds: check-box caption, time column, amount column (grid
// columns 8 to 19 in pairs).
struct Kind {
    const char* caption;
    const char* timeField;
    const char* timeTitle;
    const char* amountField;
    const char* amountTitle;
};
const Kind kKinds[6] = {{"早出残業", "K_HAYZAN", "早出時間", "K_HAYKING", "早出残給"},
                        {"普通残業", "K_FUTZAN", "普通残時間", "K_FUTKING", "普通残給"},
                        {"深夜残業", "K_SINZAN", "深夜残時間", "K_SINKING", "深夜残給"},
                        {"休日給", "K_KYUSYU", "休日時間", "K_KYUKING", "休日給"},
                        {"早退時間", "K_SOUTAI", "早退時間", "K_SOUKING", "早退控除"},
                        {"遅刻時間", "K_TIKOKU", "遅刻時間", "K_TIKKING", "遅刻控除"}};
constexpr int kBaseColumn = 7;
constexpr int kUnitsColumn = 6;
// Column widths are those of the original screen at its smaller font; our
// font needs a quarter more, or dates and times are cut off.
int scaled(int width) { return width * 5 / 4; }
int timeColumn(int kind) { return 8 + 2 * kind; }
int amountColumn(int kind) { return 9 + 2 * kind; }

const char* const kNoRowsMessage = "日付範囲のデータが有りません";

// A text of the main window (empty without one).
std::string mainText(const char* name) {
    auto* edit = ui::childOf<QLineEdit>(QStringLiteral("frmMain"), QString::fromLatin1(name));
    return edit ? rtl::fromQString(edit->text()) : std::string();
}

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

}  // namespace

QString TfrmMainRep::allEmployees() { return QStringLiteral("全社員"); }

TfrmMainRep::TfrmMainRep(QWidget* parent, data::TDataModule1* dm)
    : ui::Form(QStringLiteral("frmMainRep"), parent), dm_(data::dataModule(dm)) {
    setWindowTitle(q("給与データ移行"));
    setFont(ui::defaultFont());
    db::DataSource* src = &dm_.DS_kimu_tran;

    Act_Kinmu0 =
        new ui::Action(QStringLiteral("Act_Kinmu0"), q("勤怠データ移行"), this, [this] { Act_Kinmu0Execute(); });
    Act_Kinmu1 = new ui::Action(QStringLiteral("Act_Kinmu1"), q("時間計算"), this, [this] { Act_Kinmu1Execute(); });
    Act_Kinmu2 = new ui::Action(QStringLiteral("Act_Kinmu2"), q("勤怠データ移行"), this);
    Act_KingCalc =
        new ui::Action(QStringLiteral("Act_KingCalc"), q("金額計算"), this, [this] { Act_KingCalcExecute(); });
    Act_Show = new ui::Action(QStringLiteral("Act_Show"), q("データ初期化"), this, [this] { Act_ShowExecute(); });
    Act_TimeCalc =
        new ui::Action(QStringLiteral("Act_TimeCalc"), q("時間再計算"), this, [this] { Act_TimeCalcExecute(); });
    Act_View = new ui::Action(QStringLiteral("Act_View"), q("更新"), this, [this] { Act_ViewExecute(); });
    Act_FileSave = new ui::Action(QStringLiteral("Act_FileSave"), q("保存"), this, [this] { Act_FileSaveExecute(); });
    Avt_Change = new ui::Action(QStringLiteral("Avt_Change"), {}, this, [this] { Avt_ChangeExecute(); });

    // Top bar.
    ComboBox1 = new ui::ComboBox(QStringLiteral("ComboBox1"), this);
    ComboBox1->setMinimumWidth(180);
    btnSeek = new ui::Button(QStringLiteral("btnSeek"), q("&E 社員検索"), this);
    DBNavigator1 = new ui::DBNavigator(QStringLiteral("DBNavigator1"), this);
    DBNavigator1->setDataSource(src);
    DBNavigator1->setVisibleButtons(
        {ui::NavButton::Insert, ui::NavButton::Delete, ui::NavButton::Post, ui::NavButton::Cancel});
    auto* bar = new QHBoxLayout;
    bar->addWidget(ui::makeLabel(QStringLiteral("Label1"), q("社員選択"), ComboBox1, this));
    bar->addWidget(ComboBox1);
    bar->addWidget(btnSeek);
    bar->addStretch();
    bar->addWidget(DBNavigator1);

    // The grid, with the busy panel over its middle.
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    std::vector<ui::GridColumn> columns = {{QStringLiteral("K_DATE"), q("勤務日"), scaled(75), true, false, false},
                                           {QStringLiteral("K_TANCOD"), q("社員ID"), scaled(38), true, false, false},
                                           {QStringLiteral("K_SEQNO"), q("部門"), scaled(30), true, false, false},
                                           {QStringLiteral("K_INTIM"), q("出社時刻"), scaled(119), true, false, true},
                                           {QStringLiteral("K_OUTTIM"), q("退出時刻"), scaled(113), true, false, true},
                                           {QStringLiteral("K_SYUGYO"), q("就業時間"), scaled(55), true, false, false},
                                           {QStringLiteral("K_TANJI"), q("単位時間"), scaled(56), true, false, false},
                                           {QStringLiteral("K_BASKING"), q("基本給"), scaled(58), false, false, false}};
    for (const Kind& k : kKinds) {
        columns.push_back({q(k.timeField), q(k.timeTitle), scaled(55), false, false, false});
        columns.push_back({q(k.amountField), q(k.amountTitle), scaled(58), false, false, false});
    }
    columns.push_back({QStringLiteral("K_BIKO"), q("備考"), scaled(120), true, false, false});
    // The work date is a day: shown without its midnight.
    if (db::Field* date = dm_.kimu_tran.findField("K_DATE")) date->setDisplayFormat("yy/mm/dd");
    DBGrid1->setColumns(columns);
    DBGrid1->setDataSource(src);
    DBGrid1->setAccessibleName(q("勤怠データ"));
    PanelS = new QLabel(q("集計中"), this);
    PanelS->setObjectName(QStringLiteral("PanelS"));
    QFont big = ui::defaultFont();
    big.setPointSize(28);
    big.setBold(true);
    PanelS->setFont(big);
    PanelS->setStyleSheet(
        QStringLiteral("QLabel { color: maroon; background: #d4d0c8; border: 1px solid gray; "
                       "padding: 12px 32px; }"));
    PanelS->hide();
    auto* middle = new QGridLayout;
    middle->addWidget(DBGrid1, 0, 0);
    middle->addWidget(PanelS, 0, 0, Qt::AlignCenter);

    // Counts under the grid.
    Edit1 = new QLineEdit(QStringLiteral("0"), this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit2 = new QLineEdit(QStringLiteral("0"), this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    for (QLineEdit* e : {Edit1, Edit2}) e->setFixedWidth(60);
    auto* strip = new QHBoxLayout;
    strip->addWidget(ui::makeLabel(QStringLiteral("Label2"), q("出勤回数"), Edit1, this));
    strip->addWidget(Edit1);
    strip->addSpacing(16);
    strip->addWidget(ui::makeLabel(QStringLiteral("Label3"), q("日付重複"), Edit2, this));
    strip->addWidget(Edit2);
    strip->addStretch();

    // The column of commands at the right.
    auto button = [this](const char* name, const char* caption, ui::Action* action) {
        auto* b = new ui::Button(QString::fromLatin1(name), q(caption), this);
        if (action) b->setAction(action);
        return b;
    };
    btnKinmu = button("btnKinmu", "勤怠データ移行", Act_Kinmu0);
    btnTime = button("btnTime", "時間計算", Act_Kinmu1);
    btnKingCalc = button("btnKingCalc", "金額計算", Act_KingCalc);
    Button1 = button("Button1", "データ初期化", Act_Show);
    btnTimeCalc = button("btnTimeCalc", "時間再計算", Act_TimeCalc);
    auto* edit = new QGroupBox(q("編集選択"), this);
    edit->setObjectName(QStringLiteral("GroupBox1"));
    RadioButton1 = new QRadioButton(q("時間計算"), edit);
    RadioButton1->setObjectName(QStringLiteral("RadioButton1"));
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(q("金額計算"), edit);
    RadioButton2->setObjectName(QStringLiteral("RadioButton2"));
    auto* editLay = new QVBoxLayout(edit);
    editLay->addWidget(RadioButton1);
    editLay->addWidget(RadioButton2);
    auto* view = new QGroupBox(q("表示選択"), this);
    view->setObjectName(QStringLiteral("GroupBox2"));
    auto* viewLay = new QVBoxLayout(view);
    for (int i = 0; i < 6; ++i) {
        CheckBox[i] = new QCheckBox(q(kKinds[i].caption), view);
        CheckBox[i]->setObjectName(QStringLiteral("CheckBox%1").arg(i + 1));
        viewLay->addWidget(CheckBox[i]);
    }
    Button5 = button("Button5", "更新", Act_View);
    Button4 = button("Button4", "保存", Act_FileSave);
    btnClose = button("btnClose", "終了", nullptr);
    auto* side = new QVBoxLayout;
    for (QWidget* w : {static_cast<QWidget*>(btnKinmu), static_cast<QWidget*>(btnTime),
                       static_cast<QWidget*>(btnKingCalc), static_cast<QWidget*>(Button1),
                       static_cast<QWidget*>(btnTimeCalc), static_cast<QWidget*>(edit), static_cast<QWidget*>(view)})
        side->addWidget(w);
    auto* saveRow = new QHBoxLayout;
    saveRow->addWidget(Button5);
    saveRow->addWidget(Button4);
    side->addLayout(saveRow);
    side->addStretch();
    side->addWidget(btnClose);

    auto* left = new QVBoxLayout;
    left->addLayout(middle, 1);
    left->addLayout(strip);
    auto* body = new QHBoxLayout;
    body->addLayout(left, 1);
    body->addLayout(side);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(bar);
    lay->addLayout(body, 1);
    resize(1040, 580);
}

void TfrmMainRep::FormCreate() {
    DBNavigator1->setCaptions({q("&F 先頭"), q("&P 前行"), q("&N 次行"), q("&L 最後"), q("&A 追加"), q("&D 削除"),
                               q("&E 編集"), q("&O 登録"), q("&C 取消"), q("&R 更新")});
    setEnterMovesFocus(true);
    ComboBox1->setOnChange([this] { Avt_Change->execute(); });
    btnSeek->setOnClick([this] { btnSeekClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
    ui::onUserClick(RadioButton1, [this] { Act_View->execute(); });
    ui::onUserClick(RadioButton2, [this] { Act_View->execute(); });
    DBGrid1->setOnEditButtonClick([this](int column) { DBGrid1EditButtonClick(column); });
    DBGrid1->setOnDrawCell([this](ui::CellStyle& cell) { DBGrid1DrawColumnCell(cell); });
}

std::string TfrmMainRep::workDir() const { return mainText("Edit1"); }

void TfrmMainRep::FormShow() {
    // 1. The column view.
    if (const auto view = paydata::readColumnView(paydata::columnViewFile(workDir()))) {
        for (int i = 0; i < 6; ++i)
            if ((*view)[i]) CheckBox[i]->setChecked(true);
    } else {
        ui::showMessage(q("ファイルが有りません。"));
    }
    // 2. The employees in service.
    mainlink::fillEmployeeBox(*ComboBox1, dm_, allEmployees());
    // 3-4. The period and the key of the month's records.
    first_ = mainText("EditD1");
    last_ = mainText("EditD2");
    year_ = mainText("EditYY");
    month_ = mainText("EditMM");
    auto* weekly = ui::childOf<QCheckBox>(QStringLiteral("frmMain"), QStringLiteral("CheckBox2"));
    weekly_ = weekly && weekly->isChecked();
    key_ = period::payRecordKey(year_, month_, weekly_, last_);
    // 5. The period's rows.
    const long long rows = attendance::countPeriodRows(dm_.ADOConnection1, period());
    Edit1->setText(QString::number(rows));
    if (rows <= 0) {
        ui::showMessage(q(kNoRowsMessage));
        return;
    }
    // 6.
    applyPeriodFilter();
}

attendance::PeriodDates TfrmMainRep::period() const { return attendance::periodDates(first_, last_); }

void TfrmMainRep::applyPeriodFilter() {
    db::Table& t = dm_.kimu_tran;
    t.close();
    t.setFiltered(false);
    t.setFilter({});
    t.setFilter("K_DATE >= '" + first_ + "' AND K_DATE <= '" + last_ + "'");
    t.setFiltered(true);
    t.open();
}

void TfrmMainRep::postPendingRow() {
    if (dm_.kimu_tran.active()) dm_.kimu_tran.checkBrowseMode();
}

void TfrmMainRep::checkPeriodIsCurrent() {
    // The main window's year and month as they stand now: a month changed
    // there without "変更" leaves the period of another month.
    std::string year = year_, month = month_;
    bool weekly = weekly_;
    if (ui::topLevelWindow(QStringLiteral("frmMain"))) {
        year = mainText("EditYY");
        month = mainText("EditMM");
        auto* box = ui::childOf<QCheckBox>(QStringLiteral("frmMain"), QStringLiteral("CheckBox2"));
        weekly = box && box->isChecked();
    }
    if (weekly) return;
    try {
        attendance::checkMonthlyPeriod(period(), year, month, data::readClosingDay(dm_));
    } catch (const attendance::Refusal& e) {
        ui::showMessage(rtl::toQString(e.what()));
        rtl::abortSilently();
    }
}

void TfrmMainRep::showMessages(const std::vector<std::string>& messages) {
    for (const std::string& m : messages) ui::showMessage(rtl::toQString(m));
}

void TfrmMainRep::Act_Kinmu0Execute() {
    attendance::PunchImportResult result;
    {
        ui::BusyScope busy(PanelS, {DBGrid1, btnKinmu});
        postPendingRow();
        const attendance::PeriodDates p = period();
        checkPeriodIsCurrent();
        const long long rows = attendance::countPeriodRows(dm_.ADOConnection1, p);
        const char* question =
            rows > 0 ? "既存のデータは削除されます。よろしいですか？" : "新規にデータをセットします。よろしいですか？";
        if (!ui::askYesNo(q(question), q("更新"))) return;
        try {
            result = attendance::importPunches(dm_.ADOConnection1, p);
        } catch (const attendance::Refusal& e) {
            ui::showMessage(rtl::toQString(e.what()));
            return;
        }
    }
    // The job is over before its finishing messages: the busy panel is gone.
    applyPeriodFilter();
    Edit1->setText(QString::number(attendance::countPeriodRows(dm_.ADOConnection1, period())));
    showMessages(attendance::importMessages(result));
}

void TfrmMainRep::Act_Kinmu1Execute() {
    attendance::PeriodRecomputeResult result;
    {
        ui::BusyScope busy(PanelS, {DBGrid1, btnKinmu});
        postPendingRow();
        try {
            result = attendance::recomputePeriod(dm_.ADOConnection1, period());
        } catch (const attendance::Refusal& e) {
            ui::showMessage(rtl::toQString(e.what()));
            return;
        }
    }
    applyPeriodFilter();
    showMessages(attendance::recomputeMessages(result));
}

void TfrmMainRep::Act_KingCalcExecute() {
    ui::BusyScope busy(PanelS, {DBGrid1, btnKinmu});
    postPendingRow();
    if (!ui::askYesNo(q("既存のデータは破棄されます。よろしいですか？"), q("更新"))) return;
    checkPeriodIsCurrent();
    // Past the check of the rows the view shows the whole period again, in
    // the table's own order, however the run ends.
    auto resetView = [this] {
        dm_.kimu_tran.close();
        dm_.kimu_tran.setIndexFieldNames({});
        applyPeriodFilter();
    };
    try {
        attendance::sumMonth(dm_.ADOConnection1, period(), key_);
    } catch (const attendance::BadRowsRefusal& e) {
        ui::showMessage(rtl::toQString(e.what()));
        return;
    } catch (const attendance::Refusal& e) {
        resetView();
        ui::showMessage(rtl::toQString(e.what()));
        return;
    } catch (const rtl::DatabaseError& e) {
        // The month's old records are back; say what failed.
        resetView();
        ui::showMessage(q(attendance::kInconsistentMessage) + QStringLiteral("\n") + rtl::toQString(e.what()));
        return;
    }
    resetView();
}

void TfrmMainRep::Act_ShowExecute() {
    dm_.kimu_tran.close();
    try {
        if (ui::askYesNo(q("データを新規に構築しますか。？"), q("削除")))
            attendance::deletePeriodRows(dm_.ADOConnection1, period());
        applyPeriodFilter();
    } catch (const rtl::Error&) {
        ui::showMessage(q("データの初期化に失敗しました。"));
        applyPeriodFilter();
    }
}

void TfrmMainRep::Act_TimeCalcExecute() {
    db::Table& t = dm_.kimu_tran;
    if (!t.active() || (t.isEmpty() && t.state() == db::DatasetState::Browse)) return;
    attendance::DayClock day;
    day.workDate = t["K_DATE"].asDateTime();
    if (!t["K_INTIM"].isNull()) day.in = t["K_INTIM"].asDateTime();
    if (!t["K_OUTTIM"].isNull()) day.out = t["K_OUTTIM"].asDateTime();
    attendance::RowContext context;
    try {
        context = attendance::readRowContext(dm_.ADOConnection1, t["K_TANCOD"].asLargeInt());
    } catch (const attendance::Refusal& e) {
        ui::showMessage(rtl::toQString(e.what()));
        return;
    }
    const attendance::RowTimes r = attendance::computeRowTimes(day, context.employee, context.category);
    t.edit();
    t["K_SYUGYO"].setAsString(r.worked);
    t["K_KINMU"].setAsInteger(r.workedMinutes);
    t["K_TANJI"].setAsInteger(r.units);
    const char* fields[5] = {"K_HAYZAN", "K_FUTZAN", "K_SINZAN", "K_TIKOKU", "K_SOUTAI"};
    for (int i = 0; i < 5; ++i) t[fields[i]].setAsString(std::to_string(r.minutes[i]));
    // The row stays in edit mode: it is stored when the user posts it or moves on.
}

void TfrmMainRep::Act_ViewExecute() {
    if (RadioButton1->isChecked()) {
        for (int i = 0; i < 6; ++i) {
            DBGrid1->setColumnVisible(timeColumn(i), CheckBox[i]->isChecked());
        }
        DBGrid1->setColumnVisible(kBaseColumn, false);
    } else {
        DBGrid1->setColumnVisible(kBaseColumn, true);
        for (int i = 0; i < 6; ++i) DBGrid1->setColumnVisible(amountColumn(i), CheckBox[i]->isChecked());
    }
}

paydata::ColumnView TfrmMainRep::columnView() const {
    paydata::ColumnView view{};
    for (int i = 0; i < 6; ++i) view[i] = CheckBox[i]->isChecked();
    return view;
}

void TfrmMainRep::Act_FileSaveExecute() { paydata::writeColumnView(paydata::columnViewFile(workDir()), columnView()); }

void TfrmMainRep::Avt_ChangeExecute() {
    db::Table& t = dm_.kimu_tran;
    db::Connection& conn = dm_.ADOConnection1;
    const attendance::PeriodDates p = period();
    if (ComboBox1->text() == allEmployees()) {
        t.close();
        t.setIndexFieldNames({});
        applyPeriodFilter();
        const long long rows = attendance::countPeriodRows(conn, p);
        Edit1->setText(QString::number(rows));
        if (rows < 1) {
            ui::showMessage(q(kNoRowsMessage));
            rtl::abortSilently();
        }
    } else {
        // A name nobody in service has is one still being typed: it changes
        // nothing and says nothing (an error box per keystroke would stop the
        // typing). A code that is no number ends here with the conversion error.
        const std::optional<long long> found =
            attendance::employeeInServiceByName(conn, rtl::fromQString(ComboBox1->text()));
        if (!found) return;
        const long long employee = *found;
        t.close();
        t.setIndexFieldNames("K_DATE");
        t.setFiltered(false);
        t.setFilter({});
        t.setFilter("K_TANCOD = " + std::to_string(employee) + " AND K_DATE >= '" + first_ + "' AND K_DATE <= '" +
                    last_ + "'");
        t.setFiltered(true);
        t.open();
        const long long rows = attendance::countEmployeeRows(conn, employee, p);
        Edit1->setText(QString::number(rows));
        if (rows <= 0) {
            ui::showMessage(q(kNoRowsMessage));
            rtl::abortSilently();
        }
        // Duplicate dates over the calendar month of the employee's first row.
        t.first();
        const rtl::DateParts d = rtl::decodeDate(t["K_DATE"].asDateTime());
        const rtl::TDateTime monthStart = rtl::encodeDate(d.year, d.month, 1);
        const rtl::TDateTime monthEnd = rtl::incDay(rtl::incMonth(monthStart, 1), -1);
        Edit2->setText(QString::number(attendance::countDuplicateDays(conn, employee, monthStart, monthEnd)));
    }
    DBGrid1->viewport()->update();
    Edit1->setFocus();
}

void TfrmMainRep::btnSeekClick() { mainlink::showEmployeePicker(QStringLiteral("MainRep")); }

void TfrmMainRep::btnCloseClick() { close(); }

void TfrmMainRep::DBGrid1EditButtonClick(int column) {
    const QString field = DBGrid1->columns().at(static_cast<size_t>(column)).fieldName;
    if (field == QLatin1String("K_INTIM") && DlgInTime) DlgInTime->showModeless();
    if (field == QLatin1String("K_OUTTIM") && DlgOutTime) DlgOutTime->showModeless();
}

void TfrmMainRep::DBGrid1DrawColumnCell(ui::CellStyle& cell) {
    if (cell.column != kUnitsColumn || !cell.value) return;
    int32_t units = 0;
    rtl::tryStrToInt(rtl::fromQString(cell.value(QStringLiteral("K_TANJI"))).c_str(), units);
    if (attendance::hasNoWorkedTime(units, rtl::fromQString(cell.value(QStringLiteral("K_SYUGYO")))))
        cell.foreground = Qt::red;
}

void TfrmMainRep::FormClose(ui::CloseAction& action) {
    (void)action;
    dm_.kimu_tran.close();
}
