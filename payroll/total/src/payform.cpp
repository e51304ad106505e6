#include "total/payform.h"

#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "data/queries.h"
#include "mainlink/mainlink.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "total/calcdialogs.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbgrid.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/windows.h"

namespace {

// The double-click fields: the six time kinds and the allowances 1..8 and
// deductions 1..3 (allowance 9 has no unit amount and no dialog).
struct DblField {
    const char* edit;
    const char* kind;
    bool time;
    int index;  // time: 0..5; allowance 1..8 -> 0..7; deduction 1..3 -> 8..10
};
constexpr DblField kDblFields[] = {
    {"DBEdit9", "HAYZAN", true, 0},   {"DBEdit11", "FUTZAN", true, 1},  {"DBEdit13", "SINZAN", true, 2},
    {"DBEdit15", "KYUSYU", true, 3},  {"DBEdit17", "TIKOKU", true, 4},  {"DBEdit19", "SOUTAI", true, 5},
    {"DBEdit21", "GKING1", false, 0}, {"DBEdit22", "GKING2", false, 1}, {"DBEdit23", "GKING3", false, 2},
    {"DBEdit24", "GKING4", false, 3}, {"DBEdit35", "GKING5", false, 4}, {"DBEdit36", "GKING6", false, 5},
    {"DBEdit37", "GKING7", false, 6}, {"DBEdit38", "GKING8", false, 7}, {"DBEdit25", "SKING1", false, 8},
    {"DBEdit26", "SKING2", false, 9}, {"DBEdit27", "SKING3", false, 10}};

long long timeRate(const payrecord::WorkingMaster& m, int index) {
    const long long rates[6] = {m.hayzPay, m.futzPay, m.sinzPay, m.kyuPay, m.tikokuPay, m.soutaiPay};
    return rates[index];
}

// Unit amount and kind of allowance 1..8 (index 0..7) or deduction 1..3 (8..10).
std::pair<long long, std::string> countUnit(const payrecord::WorkingMaster& m, int index) {
    if (index < 8) return {m.gkingUnit[index], m.gkingKind[index]};
    return {m.skingUnit[index - 8], m.skingKind[index - 8]};
}

}  // namespace

void showRefusal(const char* text) {
    ui::showMessage(QString::fromUtf8(text));
    rtl::abortSilently();
}

TPayForm::TPayForm(const QString& name, const QString& caption, bool bonus, QWidget* parent, data::TDataModule1* dm)
    : ui::Form(name, parent), dm_(data::dataModule(dm)), bonus_(bonus) {
    setWindowTitle(caption);
    setFont(ui::defaultFont());

    // ---- key and employee ----
    DBEdit3 = addEdit("DBEdit3", "S_DATE");
    DBEdit2 = addEdit("DBEdit2", "S_TANCOD");
    DBLookupComboBox1 = new ui::DBLookupComboBox(QStringLiteral("DBLookupComboBox1"), this);
    DBLookupComboBox1->setListSource(&dm_.DSemp_tanka);
    DBLookupComboBox1->setKeyField(QStringLiteral("E_NO"));
    DBLookupComboBox1->setListField(QStringLiteral("E_NAME"));
    DBLookupComboBox1->setDataSource(&dm_.DSsum_tran);
    DBLookupComboBox1->setDataField(QStringLiteral("S_TANCOD"));
    DBLookupComboBox1->setAccessibleName(QStringLiteral("氏名"));
    DBLookupComboBox1->setMinimumWidth(140);
    btnSeek = new ui::Button(QStringLiteral("btnSeek"), QStringLiteral("&E 社員検索"), this);

    auto* head = new QHBoxLayout;
    head->addWidget(ui::makeLabel(QStringLiteral("Label1"), bonus ? QStringLiteral("支給区分") : QStringLiteral("月度"),
                                  DBEdit3, this));
    head->addWidget(DBEdit3);
    head->addWidget(ui::makeLabel(QStringLiteral("Label2"), QStringLiteral("社員ID"), DBEdit2, this));
    head->addWidget(DBEdit2);
    head->addWidget(DBLookupComboBox1);
    head->addWidget(btnSeek);
    head->addStretch();

    // ---- attendance sums and base pay ----
    DBEdit5 = addEdit("DBEdit5", "S_DAYS");
    DBEdit6 = addEdit("DBEdit6", "S_KINMU");
    DBEdit7 = addEdit("DBEdit7", "S_TANJI");
    DBEdit8 = addEdit("DBEdit8", "S_BASKING");
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setFixedWidth(60);
    auto* sums = new QHBoxLayout;
    sums->addWidget(ui::makeLabel(QStringLiteral("Label3"), QStringLiteral("日数"), DBEdit5, this));
    sums->addWidget(DBEdit5);
    sums->addWidget(ui::makeLabel(QStringLiteral("Label4"), QStringLiteral("勤務時間"), DBEdit6, this));
    sums->addWidget(DBEdit6);
    if (bonus) {
        Edit1->setText(QStringLiteral("1"));
        Edit1->setAccessibleName(QStringLiteral("基本給の月数"));
    } else {
        Edit1->setReadOnly(true);
        Edit1->setFocusPolicy(Qt::NoFocus);
        Edit1->setAccessibleName(QStringLiteral("勤務時間 時:分"));
        sums->addWidget(Edit1);
    }
    sums->addWidget(ui::makeLabel(QStringLiteral("Label5"), QStringLiteral("勤務単位"), DBEdit7, this));
    sums->addWidget(DBEdit7);
    sums->addWidget(ui::makeLabel(QStringLiteral("Label6"), QStringLiteral("基本給"), DBEdit8, this));
    sums->addWidget(DBEdit8);
    if (bonus) {
        sums->addWidget(new QLabel(QStringLiteral("基本給の"), this));
        sums->addWidget(Edit1);
        sums->addWidget(new QLabel(QStringLiteral("ヶ月分"), this));
    }
    sums->addStretch();

    // ---- the six time kinds ----
    auto* times = new QGridLayout;
    const struct {
        const char* caption;
        const char* minutesEdit;
        const char* minutes;
        const char* amountEdit;
        const char* amount;
    } timeKinds[] = {{"早出残業", "DBEdit9", "S_HAYZAN", "DBEdit10", "S_HAYKING"},
                     {"普通残業", "DBEdit11", "S_FUTZAN", "DBEdit12", "S_FUTKING"},
                     {"深夜残業", "DBEdit13", "S_SINZAN", "DBEdit14", "S_SINKING"},
                     {"休日手当", "DBEdit15", "S_KYUSYU", "DBEdit16", "S_KYUKING"},
                     {"遅刻時間", "DBEdit17", "S_TIKOKU", "DBEdit18", "S_TIKKING"},
                     {"早退時間", "DBEdit19", "S_SOUTAI", "DBEdit20", "S_SOUKING"}};
    times->addWidget(new QLabel(QStringLiteral("時間(分)"), this), 1, 0);
    times->addWidget(new QLabel(QStringLiteral("金額"), this), 2, 0);
    int col = 1;
    for (const auto& t : timeKinds) {
        ui::DBEdit* minutes = addEdit(t.minutesEdit, t.minutes);
        ui::DBEdit* amount = addEdit(t.amountEdit, t.amount);
        if (!bonus) {
            // Changed through the time dialog only.
            minutes->setReadOnly(true);
            amount->setReadOnly(true);
            minutes->setToolTip(QStringLiteral("ダブルクリック"));
            amount->setToolTip(QStringLiteral("ダブルクリック"));
        }
        auto* label = new QLabel(QString::fromUtf8(t.caption), this);
        ui::bindLabel(label, minutes);
        times->addWidget(label, 0, col);
        times->addWidget(minutes, 1, col);
        times->addWidget(amount, 2, col);
        ++col;
    }
    times->setColumnStretch(col, 1);

    // ---- allowances and deductions under their captions ----
    auto* money = new QGridLayout;
    const struct {
        const char* captionEdit;
        const char* caption;
        const char* valueEdit;
        const char* value;
    } items[] = {{"DBEdit40", "GKING1", "DBEdit21", "S_GKING1"}, {"DBEdit41", "GKING2", "DBEdit22", "S_GKING2"},
                 {"DBEdit42", "GKING3", "DBEdit23", "S_GKING3"}, {"DBEdit43", "GKING4", "DBEdit24", "S_GKING4"},
                 {"DBEdit44", "GKING5", "DBEdit35", "S_GKING5"}, {"DBEdit45", "GKING6", "DBEdit36", "S_GKING6"},
                 {"DBEdit46", "GKING7", "DBEdit37", "S_GKING7"}, {"DBEdit47", "GKING8", "DBEdit38", "S_GKING8"},
                 {"DBEdit58", "GKING9", "DBEdit57", "S_GKING9"}, {"DBEdit51", "GKINGH", "DBEdit29", "S_HOJYO"},
                 {"DBEdit48", "SKING1", "DBEdit25", "S_SKING1"}, {"DBEdit49", "SKING2", "DBEdit26", "S_SKING2"},
                 {"DBEdit50", "SKING3", "DBEdit27", "S_SKING3"}};
    col = 0;
    for (const auto& it : items) {
        ui::DBEdit* caption = addEdit(it.captionEdit, it.caption, true);
        ui::DBEdit* value = addEdit(it.valueEdit, it.value);
        value->setAccessibleName(QString::fromLatin1(it.value));
        money->addWidget(caption, 0, col);
        money->addWidget(value, 1, col);
        ++col;
    }

    // ---- transport, taxes, insurance, totals ----
    auto* totals = new QGridLayout;
    const struct {
        const char* caption;
        const char* editName;
        const char* field;
    } amounts[] = {{"交通費", "DBEdit28", "S_KOTUHI"},     {"食事控除", "DBEdit30", "S_MEAT_K"},
                   {"所得税", "DBEdit31", "S_ZEI_G"},      {"住民税", "DBEdit32", "S_ZEI_K"},
                   {"健康保険", "DBEdit52", "S_HOKEN"},    {"介護保険", "DBEdit53", "S_HOKENK"},
                   {"厚生年金", "DBEdit54", "S_NENKIN"},   {"雇用保険", "DBEdit55", "S_KOYOU"},
                   {"年金基金", "DBEdit56", "S_KIKIN"},    {"社保合計", "DBEdit33", "S_SHAHO"},
                   {"総支給金額", "DBEdit34", "S_TOTALS"}, {"差引支給額", "DBEdit39", "S_TOTALT"}};
    col = 0;
    for (const auto& a : amounts) {
        ui::DBEdit* e = addEdit(a.editName, a.field);
        auto* label = new QLabel(QString::fromUtf8(a.caption), this);
        ui::bindLabel(label, e);
        totals->addWidget(label, (col / 6) * 2, col % 6);
        totals->addWidget(e, (col / 6) * 2 + 1, col % 6);
        ++col;
    }
    totals->setColumnStretch(6, 1);

    // ---- day counts and remark ----
    auto* days = new QHBoxLayout;
    const struct {
        const char* caption;
        const char* editName;
        const char* field;
    } dayCounts[] = {{"就業", "DBEdit59", "S_DAY1"}, {"有休", "DBEdit60", "S_DAY2"}, {"特別", "DBEdit62", "S_DAY3"},
                     {"欠勤", "DBEdit63", "S_DAY4"}, {"遅刻", "DBEdit64", "S_DAY5"}, {"備考", "DBEdit61", "S_BIKO"}};
    for (const auto& d : dayCounts) {
        ui::DBEdit* e = addEdit(d.editName, d.field);
        days->addWidget(
            ui::makeLabel(QString::fromLatin1(d.editName) + "Label", QString::fromUtf8(d.caption), e, this));
        days->addWidget(e);
    }
    edit(QStringLiteral("DBEdit61"))->setFixedWidth(160);
    days->addStretch();
    DBEdit60 = edit(QStringLiteral("DBEdit60"));

    // ---- grid, navigators, buttons ----
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setDataSource(&dm_.DSsum_tran);
    DBGrid1->setColumns({{"TNAME", "氏名", 110},
                         {"S_DAYS", "日数", 40},
                         {"S_TANJI", "勤務単位", 60},
                         {"S_BASKING", "基本給", 80},
                         {"S_TOTALS", "小　計", 80},
                         {"S_KOTUHI", "交通費", 70},
                         {"S_MEAT_K", "食事控除", 70},
                         {"S_SHAHO", "社保計", 70},
                         {"S_ZEI_G", "所得税", 70},
                         {"S_ZEI_K", "他税", 70},
                         {"S_TOTALT", "支給合計", 80},
                         {"S_TANCOD", "社員ID", 60}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setAccessibleName(QStringLiteral("給与データ一覧"));
    DBGrid1->setMinimumHeight(140);

    DBNavigator1 = new ui::DBNavigator(QStringLiteral("DBNavigator1"), this);
    DBNavigator1->setDataSource(&dm_.DSsum_tran);
    DBNavigator1->setVisibleButtons(
        {ui::NavButton::Insert, ui::NavButton::Delete, ui::NavButton::Post, ui::NavButton::Cancel});
    DBNavigator2 = new ui::DBNavigator(QStringLiteral("DBNavigator2"), this);
    DBNavigator2->setDataSource(&dm_.DSsum_tran);
    DBNavigator2->setVisibleButtons({ui::NavButton::Prior, ui::NavButton::Next});

    btnKingCalc = new ui::Button(QStringLiteral("btnKingCalc"), QStringLiteral("金額計算"), this);
    btnNotZei = new ui::Button(QStringLiteral("btnNotZei"), QStringLiteral("税抜計算"), this);
    btnAllSet = new ui::Button(QStringLiteral("btnAllSet"), QStringLiteral("一括計算"), this);
    btnNewSet = new ui::Button(QStringLiteral("btnNewSet"), QStringLiteral("新規セット"), this);
    Button1 =
        new ui::Button(QStringLiteral("Button1"), bonus ? QStringLiteral("Button1") : QStringLiteral("天引伝票"), this);
    if (bonus) Button1->hide();
    btnClose = new ui::Button(QStringLiteral("btnClose"), QStringLiteral("閉じる"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DBNavigator1);
    buttons->addWidget(DBNavigator2);
    buttons->addStretch();
    for (ui::Button* b : {btnKingCalc, btnNotZei, btnAllSet, btnNewSet, Button1, btnClose}) buttons->addWidget(b);

    StatusBar1 = new QLabel(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFrameShape(QFrame::StyledPanel);

    auto* lay = new QVBoxLayout(this);
    lay->addLayout(head);
    lay->addLayout(sums);
    lay->addLayout(times);
    lay->addLayout(money);
    lay->addLayout(totals);
    lay->addLayout(days);
    lay->addLayout(buttons);
    lay->addWidget(DBGrid1, 1);
    lay->addWidget(StatusBar1);
    resize(1000, 640);
}

TPayForm::~TPayForm() = default;

ui::DBEdit* TPayForm::addEdit(const char* name, const char* field, bool caption) {
    db::DataSource* source = caption ? &dm_.DSQtitle_mas : &dm_.DSsum_tran;
    ui::DBEdit* e = ui::makeDBEdit(QString::fromLatin1(name), source, QString::fromLatin1(field), this);
    e->setFixedWidth(caption ? 72 : 80);
    if (caption) {
        e->setReadOnly(true);
        e->setFocusPolicy(Qt::NoFocus);
    }
    e->setAccessibleName(QString::fromLatin1(field));
    e->installEventFilter(this);
    edits_[QString::fromLatin1(name)] = e;
    return e;
}

ui::DBEdit* TPayForm::edit(const QString& objectName) const {
    const auto it = edits_.find(objectName);
    return it == edits_.end() ? nullptr : it->second;
}

ui::DBEdit* TPayForm::editOf(const QString& field) const {
    for (const auto& [name, e] : edits_)
        if (e->dataField() == field) return e;
    return nullptr;
}

db::Dataset& TPayForm::rows() { return dm_.sum_tran; }
db::Connection& TPayForm::connection() { return dm_.ADOConnection1; }

void TPayForm::FormCreate() {
    setEnterMovesFocus(true);
    const QStringList first = {QStringLiteral("&F 先頭"), QStringLiteral("&P 前行"), QStringLiteral("&N 次行"),
                               QStringLiteral("&L 最後")};
    DBNavigator1->setCaptions(first + QStringList{QStringLiteral("追加"), QStringLiteral("削除"),
                                                  QStringLiteral("&E 編集"), QStringLiteral("登録"),
                                                  QStringLiteral("取消"), QStringLiteral("&R 更新")});
    DBNavigator2->setCaptions({QStringLiteral("&F 先頭"), QStringLiteral("前へ"), QStringLiteral("次へ"),
                               bonus_ ? QStringLiteral("&L 最後") : QStringLiteral("最後"), QStringLiteral("&A 追加"),
                               QStringLiteral("&D 削除"), QStringLiteral("&E 編集"), QStringLiteral("&O 登録"),
                               QStringLiteral("&C 取消"), QStringLiteral("&R 更新")});
    btnSeek->setOnClick([this] { btnSeekClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
    setOnExit(DBEdit60, [this] { Act_DaysExecute(); });
    for (ui::DBEdit* e : {DBEdit5, DBEdit6, DBEdit7})
        setOnExit(e, [this, e] {
            if (!payrecord::hasCurrentRow(rows()) || busy_) return;
            db::Field& f = rows().fieldByName(rtl::fromQString(e->dataField()));
            if (!f.isNull()) return;
            if (rows().state() == db::DatasetState::Browse) rows().edit();
            f.setAsInteger(0);
        });
    auto keyDefault = [this] {
        if (!rows().active() || busy_) return;
        db::Field& f = rows().fieldByName("S_DATE");
        if (!f.isNull() && !f.asString().empty()) return;
        if (rows().state() == db::DatasetState::Browse) rows().edit();
        f.setAsString(key_);
    };
    setOnEnter(DBEdit3, keyDefault);
    setOnExit(DBEdit3, keyDefault);

    if (!dm_.emp_tanka.active()) dm_.emp_tanka.open();
    if (!dm_.Qtitle_mas.active()) dm_.Qtitle_mas.open();
}

bool TPayForm::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick)
        if (auto* e = qobject_cast<ui::DBEdit*>(watched)) {
            ui::guard([&] { fieldDblClick(e); });
            return true;
        }
    return ui::Form::eventFilter(watched, event);
}

void TPayForm::Act_emp_tankaExecute() {
    if (!rows().active()) return;
    if (std::optional<payrecord::WorkingMaster> m = payrecord::masterOfRow(connection(), rows())) master_ = *m;
}

void TPayForm::Act_ChangeExecute() {
    const bool enabled = data::readPrintLayout(dm_) != "1";
    for (const char* name : {"DBEdit35", "DBEdit36", "DBEdit44", "DBEdit45"})
        edit(QString::fromLatin1(name))->setEnabled(enabled);
}

void TPayForm::Act_DaysExecute() {
    if (!payrecord::hasCurrentRow(rows()) || busy_) return;
    db::Dataset& s = rows();
    const std::optional<long long> absence =
        payrecord::absenceDays(payrecord::yen(s, "S_DAY1"), payrecord::yen(s, "S_DAYS"), payrecord::yen(s, "S_DAY2"),
                               payrecord::yen(s, "S_DAY4"));
    if (!absence) return;
    if (s.state() == db::DatasetState::Browse) s.edit();
    s.fieldByName("S_DAY4").setAsInteger(*absence);
}

void TPayForm::Act_Null_SetExecute() {
    if (payrecord::hasCurrentRow(rows())) payrecord::nullSet(rows());
}

void TPayForm::markCountFields() {
    static const QColor marked = palette().color(QPalette::Active, QPalette::Highlight).lighter(160);
    for (const DblField& f : kDblFields) {
        if (f.time) continue;
        const auto [unit, kind] = countUnit(master_, f.index);
        if (unit > 0 && kind == "0") {
            ui::DBEdit* e = edit(QString::fromLatin1(f.edit));
            QPalette p = e->palette();
            p.setColor(QPalette::Base, marked);
            e->setPalette(p);
        }
    }
}

void TPayForm::fieldDblClick(ui::DBEdit* field) {
    if (!payrecord::hasCurrentRow(rows())) return;
    for (const DblField& f : kDblFields) {
        if (field->objectName() != QLatin1String(f.edit)) continue;
        long long price = 0;
        if (f.time) {
            price = timeRate(master_, f.index);
        } else {
            const auto [unit, kind] = countUnit(master_, f.index);
            if (kind != "0") return;
            price = unit;
        }
        if (price <= 0) return;
        const QString dialog = f.time ? QStringLiteral("DlgCalcTime") : QStringLiteral("DlgCalcCount");
        if (auto* d = qobject_cast<TCalcDialog*>(ui::topLevelWindow(dialog)))
            d->openFor(QString::fromLatin1(f.kind), price, rows());
        return;
    }
}

void TPayForm::btnSeekClick() { mainlink::showEmployeePicker(QStringLiteral("Total")); }

void TPayForm::btnCloseClick() { close(); }

void TPayForm::newSet(const std::string& key, bool bonus) {
    if (data::countPayRecords(dm_, key) > 0 &&
        !ui::askYesNo(QStringLiteral("既存のデータがあります。上書きしますか？"), QStringLiteral("確認")))
        return;
    const Busy busy(busy_);
    payrecord::replaceWithNewRows(connection(), rows(), key, bonus);
}

void TPayForm::runBatch(const std::function<payrecord::BatchResult()>& batch) {
    payrecord::BatchResult result;
    {
        const Busy busy(busy_);
        result = batch();
    }
    DBEdit3->setFocus();
    if (!result.stoppedBy.empty()) showRefusal(result.stoppedBy.c_str());
}
