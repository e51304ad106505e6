#include "masters/Emp_Tanka.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "masters/employees.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/dbgrid.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

TfrmEmp_Tanka* frmEmp_Tanka = nullptr;

namespace {

using masters::ImeMode;

data::TDataModule1& dm() { return data::dataModule(); }

QString captionText(db::Dataset& ds, const char* column) {
    db::Field* f = ds.findField(column);
    if (!f || f->isNull()) return {};
    return rtl::toQString(f->asString());
}

}  // namespace

TfrmEmp_Tanka::TfrmEmp_Tanka(QWidget* parent)
    : masters::MasterForm(QStringLiteral("frmEmp_Tanka"), QStringLiteral("個人単価表"), parent) {
    if (!frmEmp_Tanka) frmEmp_Tanka = this;
    source_ = &dm().DSemp_tanka;

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(6, 6, 6, 6);
    root->addWidget(titlePanel(this, QStringLiteral("Panel1"), QStringLiteral("個人別単価")));

    auto* middle = new QHBoxLayout;
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({{"E_NO", QStringLiteral("NO"), 44, true, true, false},
                         {"E_TANCOD", QStringLiteral("社員番号"), 70, true, true, false},
                         {"E_NAME", QStringLiteral("氏名"), 120, true, true, false},
                         {"E_CARDNO", QStringLiteral("カードNO"), 70, true, true, false}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataSource(source_);
    DBGrid1->setMinimumWidth(330);
    DBGrid1->setAccessibleName(QStringLiteral("社員一覧"));
    middle->addWidget(DBGrid1);

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet1, QStringLiteral("  勤務単価  "));
    PageControl1->addTab(TabSheet2, QStringLiteral("  手当単価  "));
    PageControl1->addTab(TabSheet3, QStringLiteral("  付帯情報  "));
    buildPage1(TabSheet1);
    buildPage2(TabSheet2);
    buildPage3(TabSheet3);
    middle->addWidget(PageControl1, 1);
    root->addLayout(middle, 1);

    root->addLayout(bottomBar(source_, Editing::Rows, QStringLiteral("btnClose"), DBNavigator1, btnClose));

    ui::on(PageControl1, &QTabWidget::currentChanged, this, [this](int index) {
        const int was = shownPage_;
        shownPage_ = index;
        if (was == 1 && index != 1) TabSheet2Hide();
        if (index == 1 && was != 1) TabSheet2Show();
    });
    DBNavigator1->setOnClick([this](ui::NavButton b) { DBNavigator1Click(b); });
    sizeFields();
    resize(960, 600);
}

TfrmEmp_Tanka::~TfrmEmp_Tanka() {
    if (frmEmp_Tanka == this) frmEmp_Tanka = nullptr;
}

void TfrmEmp_Tanka::buildPage1(QWidget* page) {
    auto* g = new QGridLayout(page);
    g->setHorizontalSpacing(8);
    int row = 0;
    auto pair = [&](const QString& editName, const QString& field, const QString& caption, ImeMode ime, int col) {
        ui::DBEdit* e = dbEdit(page, editName, source_, field, ime);
        g->addWidget(label(page, QStringLiteral("Label_") + field, caption, e), row, col);
        g->addWidget(e, row, col + 1);
        return e;
    };
    DBEdit1 = pair(QStringLiteral("DBEdit1"), QStringLiteral("E_NO"), QStringLiteral("NO"), ImeMode::Close, 0);
    DBEdit2 =
        pair(QStringLiteral("DBEdit2"), QStringLiteral("E_TANCOD"), QStringLiteral("社員番号"), ImeMode::Close, 2);
    ++row;
    pair(QStringLiteral("DBEdit3"), QStringLiteral("E_NAME"), QStringLiteral("氏名"), ImeMode::Hira, 0);
    DBEdit4 =
        pair(QStringLiteral("DBEdit4"), QStringLiteral("E_CARDNO"), QStringLiteral("カード番号"), ImeMode::Close, 2);
    ++row;
    pair(QStringLiteral("DBEdit5"), QStringLiteral("E_JOBKBN"), QStringLiteral("勤務区分"), ImeMode::Close, 0);
    ui::DBEdit* birth =
        pair(QStringLiteral("DBEdit6"), QStringLiteral("E_BARTH"), QStringLiteral("誕生日"), ImeMode::Close, 2);
    birth->setDateFormat(QStringLiteral("yyyy/mm/dd"));
    ++row;
    pair(QStringLiteral("DBEdit7"), QStringLiteral("E_DROPKBN"), QStringLiteral("対象"), ImeMode::Close, 0);
    auto* hints = new QVBoxLayout;
    hints->setSpacing(0);
    hints->addWidget(note(page, QStringLiteral("Label_DropHint1"), QStringLiteral("退職 → 0 / 休職 → 2")));
    hints->addWidget(note(page, QStringLiteral("Label_DropHint2"), QStringLiteral("現職 → 1")));
    g->addLayout(hints, row, 2, 1, 2);
    ++row;
    g->addWidget(dbCheck(page, QStringLiteral("DBCheckBox1"), QStringLiteral("休憩の有無"), source_,
                         QStringLiteral("E_REST_YN")),
                 row, 0, 1, 2);
    g->addWidget(dbCheck(page, QStringLiteral("DBCheckBox2"), QStringLiteral("週給又は日給"), source_,
                         QStringLiteral("E_REST_NN")),
                 row, 2, 1, 2);
    ++row;
    auto* pay = new ui::DBRadioGroup(QStringLiteral("DBRadioGroup1"), QStringLiteral("給与支払区分"), page);
    pay->setItems({QStringLiteral("月給"), QStringLiteral("日給"), QStringLiteral("時給")}, 3);
    pay->setValues({QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    pay->setDataSource(source_);
    pay->setDataField(QStringLiteral("E_PAYKBN"));
    g->addWidget(pay, row, 0, 1, 5);
    ++row;

    // The seven kinds of time: whether each is paid (or deducted) and its rate.
    auto* rates = new QGroupBox(page);
    rates->setObjectName(QStringLiteral("GroupBox1"));
    auto* rg = new QGridLayout(rates);
    const struct {
        const char* flag;
        const char* flagCaption;
        const char* rate;
        const char* rateCaption;
    } kinds[] = {
        {"E_BASE_YN", "開始前カット", "E_BASEPAY", "基本単価"}, {"E_HAYZ_YN", "早出残有無", "E_HAYZPAY", "早出残単価"},
        {"E_FUTZ_YN", "普通残有無", "E_FUTZPAY", "普通残単価"}, {"E_SINZ_YN", "深夜残有無", "E_SINZPAY", "深夜残単価"},
        {"E_KYU_YN", "休日給有無", "E_KYU_PAY", "休日給単価"},  {"E_TIKO_YN", "遅刻引有無", "E_TIKOKU", "遅刻引単価"},
        {"E_SOUT_YN", "早退引有無", "E_SOUTAI", "早退引単価"},
    };
    int k = 0;
    for (const auto& kind : kinds) {
        const QString rate = QString::fromUtf8(kind.rate);
        rg->addWidget(dbCheck(rates, QStringLiteral("DBCheckBox%1").arg(3 + k), QString::fromUtf8(kind.flagCaption),
                              source_, QString::fromUtf8(kind.flag)),
                      k, 0);
        ui::DBEdit* e = dbEdit(rates, QStringLiteral("DBEdit%1").arg(8 + k), source_, rate, ImeMode::Close);
        e->setAlignment(Qt::AlignRight);
        rg->addWidget(label(rates, QStringLiteral("Label_") + rate, QString::fromUtf8(kind.rateCaption), e), k, 1);
        rg->addWidget(e, k, 2);
        ++k;
    }
    rg->setColumnStretch(3, 1);
    g->addWidget(rates, row, 0, 1, 5);
    ++row;
    pair(QStringLiteral("DBEdit15"), QStringLiteral("E_KNTKBN"), QStringLiteral("扶養家族"), ImeMode::Close, 0);
    g->addWidget(note(page, QStringLiteral("Label_KntHint"), QStringLiteral("乙 => 8 / 丙 => 9")), row, 2, 1, 2);
    ++row;
    ui::DBEdit* remark = dbEdit(page, QStringLiteral("DBEdit16"), source_, QStringLiteral("E_BIKO"), ImeMode::Hira);
    g->addWidget(label(page, QStringLiteral("Label_E_BIKO"), QStringLiteral("備　考"), remark), row, 0);
    g->addWidget(remark, row, 1, 1, 3, Qt::AlignLeft);
    ++row;
    g->setRowStretch(row, 1);
    g->setColumnStretch(4, 1);

    setOnEnter(DBEdit2, [this] { DBEdit2Enter(); });
    setOnExit(DBEdit4, [this] { DBEdit4Exit(); });
}

void TfrmEmp_Tanka::buildPage2(QWidget* page) {
    auto* g = new QGridLayout(page);
    g->setHorizontalSpacing(8);
    int row = 0;
    ui::DBEdit* no = dbShownEdit(page, QStringLiteral("DBEdit17"), source_, QStringLiteral("E_NO"));
    g->addWidget(label(page, QStringLiteral("Label2_E_NO"), QStringLiteral("NO"), no), row, 0);
    g->addWidget(no, row, 1);
    ui::DBEdit* name = dbEdit(page, QStringLiteral("DBEdit18"), source_, QStringLiteral("E_NAME"), ImeMode::Hira);
    g->addWidget(label(page, QStringLiteral("Label2_E_NAME"), QStringLiteral("氏名"), name), row, 2);
    g->addWidget(name, row, 3, 1, 2);
    ++row;

    int editNo = 19;
    auto money = [&](const QString& field, const QString& caption, int r, int c) {
        ui::DBEdit* e = dbEdit(page, QStringLiteral("DBEdit%1").arg(editNo++), source_, field, ImeMode::Close);
        e->setAlignment(Qt::AlignRight);
        g->addWidget(label(page, QStringLiteral("Label_") + field, caption, e), r, c);
        g->addWidget(e, r, c + 1);
        return e;
    };
    money(QStringLiteral("E_KOTUHI"), QStringLiteral("交通費"), row, 0);
    money(QStringLiteral("E_HOJYO"), QStringLiteral("補助費"), row, 2);
    money(QStringLiteral("E_JYUMIN_Z"), QStringLiteral("住民税"), row + 1, 0);
    money(QStringLiteral("E_HOKEN_YN"), QStringLiteral("健康保険"), row + 2, 0);
    money(QStringLiteral("E_NENKIN_YN"), QStringLiteral("厚生年金"), row + 2, 2);
    money(QStringLiteral("E_KIKIN_YN"), QStringLiteral("厚生基金"), row + 3, 0);
    g->addWidget(dbCheck(page, QStringLiteral("DBCheckBox10"), QStringLiteral("雇用保険"), source_,
                         QStringLiteral("E_KOYOU_YN")),
                 row + 3, 2, 1, 2);
    row += 4;

    // Allowance and deduction rows: a kind picked from the allowance-kind
    // list and an amount, each with a caption label from the caption master.
    auto* rows = new QGroupBox(page);
    rows->setObjectName(QStringLiteral("GroupBox2"));
    auto* rg = new QGridLayout(rows);
    rg->setVerticalSpacing(2);
    int lookupNo = 1;
    int amountNo = 25;
    auto line = [&](int r, const QString& kindField, const QString& amountField, const QString& design,
                    QLabel** labels) {
        auto* kind = new ui::DBLookupComboBox(QStringLiteral("DBLookupComboBox%1").arg(lookupNo++), rows);
        kind->setKeyField(QStringLiteral("FLG_NUM"));
        kind->setListField(QStringLiteral("FLG_DAT"));
        kind->setListSource(&dm().DSflg_teate);
        kind->setDataSource(source_);
        kind->setDataField(kindField);
        kindPickers_.push_back(kind);
        ui::DBEdit* amount =
            dbEdit(rows, QStringLiteral("DBEdit%1").arg(amountNo++), source_, amountField, ImeMode::Close);
        amount->setAlignment(Qt::AlignRight);
        labels[0] = label(rows, QStringLiteral("Label_") + kindField, design, kind);
        labels[1] = label(rows, QStringLiteral("Label_") + amountField, design, amount);
        rg->addWidget(labels[0], r, 0);
        rg->addWidget(kind, r, 1);
        rg->addWidget(labels[1], r, 2);
        rg->addWidget(amount, r, 3);
    };
    for (int n = 1; n <= 8; ++n)
        line(n - 1, QStringLiteral("E_GKING_S%1").arg(n), QStringLiteral("E_GKING_K%1").arg(n),
             QStringLiteral("手当%1").arg(n), allowanceLabels_[n - 1]);
    {
        ui::DBEdit* k9 = dbEdit(rows, QStringLiteral("DBEdit%1").arg(amountNo++), source_, QStringLiteral("E_GKING_K9"),
                                ImeMode::Close);
        k9->setAlignment(Qt::AlignRight);
        allowance9Label_ = label(rows, QStringLiteral("Label_E_GKING_K9"), QStringLiteral("交通費課税額"), k9);
        rg->addWidget(allowance9Label_, 8, 2);
        rg->addWidget(k9, 8, 3);
    }
    for (int n = 1; n <= 3; ++n)
        line(8 + n, QStringLiteral("E_SKING_S%1").arg(n), QStringLiteral("E_SKING_K%1").arg(n),
             QStringLiteral("控除%1").arg(n), deductionLabels_[n - 1]);
    {
        ui::DBEdit* meal = dbEdit(rows, QStringLiteral("DBEdit%1").arg(amountNo++), source_, QStringLiteral("E_MEAT_K"),
                                  ImeMode::Close);
        meal->setAlignment(Qt::AlignRight);
        rg->addWidget(label(rows, QStringLiteral("Label_E_MEAT_K"), QStringLiteral("食事控除"), meal), 12, 2);
        rg->addWidget(meal, 12, 3);
    }
    rg->setColumnStretch(4, 1);
    g->addWidget(rows, row, 0, 1, 5);
    ++row;
    g->setRowStretch(row, 1);
    g->setColumnStretch(4, 1);
}

void TfrmEmp_Tanka::buildPage3(QWidget* page) {
    auto* g = new QGridLayout(page);
    g->setHorizontalSpacing(8);
    ui::DBEdit* no = dbShownEdit(page, QStringLiteral("DBEdit38"), source_, QStringLiteral("E_NO"));
    g->addWidget(label(page, QStringLiteral("Label3_E_NO"), QStringLiteral("NO"), no), 0, 0);
    g->addWidget(no, 0, 1);
    const struct {
        const char* field;
        const char* caption;
        ImeMode ime;
    } fields[] = {
        {"E_NAME", "氏名", ImeMode::Hira},     {"E_NAFURI", "フリガナ", ImeMode::SKata},
        {"E_ZIP", "郵便番号", ImeMode::Close}, {"E_ADD1", "住所1", ImeMode::Hira},
        {"E_ADD2", "住所2", ImeMode::Hira},
    };
    int r = 1;
    for (const auto& f : fields) {
        const QString field = QString::fromUtf8(f.field);
        ui::DBEdit* e = dbEdit(page, QStringLiteral("DBEdit%1").arg(38 + r), source_, field, f.ime);
        g->addWidget(label(page, QStringLiteral("Label3_") + field, QString::fromUtf8(f.caption), e), r, 0);
        g->addWidget(e, r, 1);
        ++r;
    }
    g->setRowStretch(r, 1);
    g->setColumnStretch(2, 1);
}

// Each field as wide as what it holds.
void TfrmEmp_Tanka::sizeFields() {
    const std::pair<const char*, int> widths[] = {
        {"E_NO", 80},     {"E_TANCOD", 100}, {"E_NAME", 180},  {"E_CARDNO", 100}, {"E_JOBKBN", 50},
        {"E_BARTH", 100}, {"E_DROPKBN", 40}, {"E_KNTKBN", 40}, {"E_BIKO", 200},   {"E_NAFURI", 180},
        {"E_ZIP", 90},    {"E_ADD1", 320},   {"E_ADD2", 260},
    };
    for (QLineEdit* e : findChildren<QLineEdit*>()) {
        auto* bound = dynamic_cast<ui::DBEdit*>(e);
        const QString field = bound ? bound->dataField() : QString();
        int width = 110;  // amounts and rates
        for (const auto& [name, w] : widths)
            if (field == QLatin1String(name)) width = w;
        if (e->parentWidget() && e->parentWidget()->inherits("QComboBox")) continue;
        e->setFixedWidth(width);
    }
    for (ui::DBLookupComboBox* picker : kindPickers_) picker->setFixedWidth(120);
}

void TfrmEmp_Tanka::FormCreate() { setNavigatorCaptions(DBNavigator1, masters::standardNavigatorCaptions()); }

void TfrmEmp_Tanka::FormShow() {
    dm().emp_tanka.open();
    // The list stays in E_NO order: a new employee goes to its place.
    checkBeforePost(
        dm().emp_tanka, [this](db::Dataset& d) { emp_tankaBeforePost(d); }, PostedRow::TakesItsPlace);
    shownPage_ = PageControl1->currentIndex();
    if (shownPage_ == 1) TabSheet2Show();
    if (PageControl1->currentWidget() == TabSheet1) DBEdit1->setFocus(Qt::OtherFocusReason);
}

void TfrmEmp_Tanka::FormClose(ui::CloseAction& action) {
    (void)action;
    if (PageControl1->currentIndex() == 1) TabSheet2Hide();
    stopCheckingPosts();
    dm().emp_tanka.close();
}

void TfrmEmp_Tanka::emp_tankaBeforePost(db::Dataset& ds) {
    if (std::optional<std::string> problem = masters::employeeRowProblem(ds)) refuse(rtl::toQString(*problem));
}

void TfrmEmp_Tanka::DBEdit2Enter() { masters::applyEmployeeCodeDefaults(dm().emp_tanka); }

void TfrmEmp_Tanka::DBEdit4Exit() { masters::applyCardNumberDefault(dm().emp_tanka); }

void TfrmEmp_Tanka::TabSheet2Show() {
    data::TDataModule1& m = dm();
    m.flg_teate.open();  // the kind pickers fill themselves from it
    QString gk[10], sk[4];
    {
        const db::OpenScope titles(m.Qtitle_mas);
        for (int n = 1; n <= 9; ++n) gk[n] = captionText(m.Qtitle_mas, ("GKING" + std::to_string(n)).c_str());
        for (int n = 1; n <= 3; ++n) sk[n] = captionText(m.Qtitle_mas, ("SKING" + std::to_string(n)).c_str());
    }
    for (int n = 1; n <= 8; ++n)
        for (QLabel* l : allowanceLabels_[n - 1]) l->setText(gk[n]);
    allowance9Label_->setText(gk[9]);
    for (int n = 1; n <= 3; ++n)
        for (QLabel* l : deductionLabels_[n - 1]) l->setText(sk[n]);
}

void TfrmEmp_Tanka::TabSheet2Hide() {
    // The kind pickers empty themselves with their list.
    dm().flg_teate.close();
}

void TfrmEmp_Tanka::DBNavigator1Click(ui::NavButton) {
    if (PageControl1->currentWidget() != TabSheet1) PageControl1->setCurrentWidget(TabSheet1);
    else moveFocusTo(DBEdit1);
}
