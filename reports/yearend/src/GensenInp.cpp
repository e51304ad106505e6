#include "yearend/GensenInp.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QVBoxLayout>

#include <cctype>

#include "data/DB_Acs.h"
#include "db/jet.h"
#include "mainlink/mainlink.h"
#include "reports/forms.h"
#include "rtl/convert.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "rtl/strings.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/windows.h"
#include "yearend/store.h"

TfrmGensenInp* frmGensenInp = nullptr;

namespace {

QString q(const char* utf8) { return QString::fromUtf8(utf8); }

// The five adjustment columns, in the order of yearend::Adjustments.
constexpr const char* kAdjustmentColumns[5] = {"teate1", "teate2", "teate3", "teate4", "teate5"};

yearend::Yen amountOf(db::Dataset& ds, const char* column) {
    db::Field& f = ds.fieldByName(column);
    return f.isNull() ? 0 : f.asLargeInt();
}

yearend::Yen amountOf(const QLineEdit* edit) {
    const std::string t = rtl::trim(rtl::fromQString(edit->text()));
    return t.empty() ? 0 : rtl::strToInt64(t);
}

void setAmount(QLineEdit* edit, yearend::Yen value) { edit->setText(QString::number(value)); }

}  // namespace

QString TfrmGensenInp::modeSlip() { return QStringLiteral("GensenInp"); }
QString TfrmGensenInp::modeSlip2() { return QStringLiteral("GensenInp2"); }
QString TfrmGensenInp::searchFirst() { return q("データ検索を行って下さい。"); }
QString TfrmGensenInp::buttonCaption() { return q("ボタン実行"); }

TfrmGensenInp::TfrmGensenInp(QWidget* parent, data::TDataModule1* dm)
    : ui::Form(QStringLiteral("frmGensenInp"), parent), dm_(data::dataModule(dm)) {
    if (!frmGensenInp) frmGensenInp = this;
    setWindowTitle(q("源泉徴収前処理"));
    setFont(ui::defaultFont());
    setKeyPreview(true);
    db::DataSource* src = &dm_.DSgensen;

    auto* root = new QVBoxLayout(this);
    auto* header = new QLabel(q("源泉聴取前処理"), this);
    header->setObjectName(QStringLiteral("Panel1"));
    header->setAlignment(Qt::AlignCenter);
    header->setStyleSheet(QStringLiteral("QLabel { background: #d4d0c8; border: 1px solid gray; padding: 6px; }"));
    QFont big = ui::defaultFont();
    big.setPointSize(14);
    header->setFont(big);
    root->addWidget(header);

    // The search bar.
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setMaxLength(10);
    btnGo = new ui::Button(QStringLiteral("btnGo"), q("検索表示"), this);
    btnSeek = new ui::Button(QStringLiteral("btnSeek"), q("&E 社員検索"), this);
    Button1 = new ui::Button(QStringLiteral("Button1"), q("データ取込"), this);
    Edit4 = new QLineEdit(this);
    Edit4->setObjectName(QStringLiteral("Edit4"));
    Edit4->hide();
    auto* bar = new QHBoxLayout;
    bar->addWidget(ui::makeLabel(QStringLiteral("Label1"), q("&E 社員番号"), Edit1, this));
    bar->addWidget(Edit1);
    bar->addWidget(btnGo);
    bar->addWidget(btnSeek);
    bar->addWidget(Button1);
    bar->addStretch();
    root->addLayout(bar);

    // The pages.
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    auto* page1 = new QWidget;
    page1->setObjectName(QStringLiteral("TabSheet1"));
    auto* grid = new QGridLayout(page1);
    int row = 0;
    auto field = [&](ui::DBEdit*& edit, const char* name, const char* column, const char* caption, int col) {
        edit = ui::makeDBEdit(QString::fromLatin1(name), src, QString::fromLatin1(column), page1);
        grid->addWidget(ui::makeLabel(QStringLiteral("L_") + QString::fromLatin1(name), q(caption), edit, page1), row,
                        col * 2);
        grid->addWidget(edit, row, col * 2 + 1);
    };
    field(DBEdit1, "DBEdit1", "dcode", "コード", 0);
    field(DBEdit2, "DBEdit2", "dname", "氏名", 1);
    ++row;
    field(DBEdit5, "DBEdit5", "fct_code", "勤務区分", 0);
    ++row;
    field(DBEdit7, "DBEdit7", "kinmu", "勤務日数", 0);
    field(DBEdit8, "DBEdit8", "mid_kinmu", "夜勤日数", 1);
    ++row;
    field(DBEdit10, "DBEdit10", "total_1", "小　　計", 0);
    field(DBEdit16, "DBEdit16", "kotu_hi", "交 通 費", 1);
    field(DBEdit20, "DBEdit20", "teate1", "賞 与 他", 2);
    ++row;
    field(DBEdit11, "DBEdit11", "ken_ho", "健康保険", 0);
    field(DBEdit17, "DBEdit17", "meat_back", "食事控除", 1);
    field(DBEdit21, "DBEdit21", "teate2", "社会保険", 2);
    ++row;
    field(DBEdit12, "DBEdit12", "koyo_ho", "雇用保険", 0);
    field(DBEdit18, "DBEdit18", "sub1", "補 助 費", 1);
    field(DBEdit22, "DBEdit22", "teate3", "源 泉 税", 2);
    ++row;
    field(DBEdit13, "DBEdit13", "gensen_z", "源泉税額", 0);
    field(DBEdit19, "DBEdit19", "total_t", "支給合計", 1);
    field(DBEdit23, "DBEdit23", "teate4", "そ の 他", 2);
    ++row;
    field(DBEdit14, "DBEdit14", "koyo_sho", "厚生年金", 0);
    field(DBEdit25, "DBEdit25", "teate5", "住 民 税", 2);
    ++row;
    field(DBEdit24, "DBEdit24", "jyumin_z", "住民税額", 0);
    ++row;
    field(DBEdit15, "DBEdit15", "total_s", "差引合計", 0);
    grid->setRowStretch(++row, 1);
    for (ui::DBEdit* shown : {DBEdit1, DBEdit2, DBEdit5}) {
        shown->setReadOnly(true);
        shown->setFocusPolicy(Qt::NoFocus);
    }
    for (ui::DBEdit* amount :
         {DBEdit7, DBEdit8, DBEdit10, DBEdit11, DBEdit12, DBEdit13, DBEdit14, DBEdit24, DBEdit15, DBEdit16, DBEdit17,
          DBEdit18, DBEdit19, DBEdit20, DBEdit21, DBEdit22, DBEdit23, DBEdit25})
        amount->setAlignment(Qt::AlignRight);
    PageControl1->addTab(page1, q("源泉データ編集"));

    // The personal-number pages: kept on screen only, nothing stores or prints them.
    auto* page2 = new QWidget;
    page2->setObjectName(QStringLiteral("TabSheet2"));
    auto* g2 = new QGridLayout(page2);
    const char* persons[] = {"本人", "配偶者", "扶養親族1", "扶養親族2", "扶養親族3", "扶養親族4"};
    g2->addWidget(new QLabel(q("フリガナ"), page2), 0, 1);
    g2->addWidget(new QLabel(q("氏名"), page2), 0, 2);
    g2->addWidget(new QLabel(q("個人番号"), page2), 0, 3);
    for (int i = 0; i < 6; ++i) {
        g2->addWidget(new QLabel(q(persons[i]), page2), i + 1, 0);
        for (int c = 0; c < 3; ++c) {
            if (i == 0 && c < 2) continue;  // the recipient's name is the row's
            auto* e = new QLineEdit(page2);
            e->setObjectName(QStringLiteral("EditNo%1_%2").arg(i).arg(c));
            g2->addWidget(e, i + 1, c + 1);
        }
    }
    g2->setRowStretch(7, 1);
    PageControl1->addTab(page2, q("マイナンバー等入力"));
    auto* page3 = new QWidget;
    page3->setObjectName(QStringLiteral("TabSheet3"));
    auto* g3 = new QGridLayout(page3);
    g3->addWidget(new QLabel(q("フリガナ"), page3), 0, 1);
    g3->addWidget(new QLabel(q("氏名"), page3), 0, 2);
    for (int i = 0; i < 4; ++i) {
        g3->addWidget(new QLabel(q("扶養親族") + QString::number(i + 1), page3), i + 1, 0);
        for (int c = 0; c < 2; ++c) {
            auto* e = new QLineEdit(page3);
            e->setObjectName(QStringLiteral("EditYoung%1_%2").arg(i).arg(c));
            g3->addWidget(e, i + 1, c + 1);
        }
    }
    g3->setRowStretch(5, 1);
    PageControl1->addTab(page3, q("16才未満扶養親族"));
    root->addWidget(PageControl1, 1);

    // Commands and margins.
    DBNavigator1 = new ui::DBNavigator(QStringLiteral("DBNavigator1"), this);
    DBNavigator1->setDataSource(src);
    DBNavigator1->setCaptions(
        {q("先頭"), q("前へ"), q("次へ"), q("最後"), q("追加"), q("削除"), q("編集"), q("登録"), q("取消"), q("更新")});
    DBNavigator1->setVisibleButtons(
        {ui::NavButton::Insert, ui::NavButton::Delete, ui::NavButton::Post, ui::NavButton::Cancel});
    btnCalc = new ui::Button(QStringLiteral("btnCalc"), q("&K 計算"), this);
    Button3 = new ui::Button(QStringLiteral("Button3"), q("&M 個人別単価"), this);
    btnPrt = new ui::Button(QStringLiteral("btnPrt"), q("&P 徴収票印刷"), this);
    // Two more slips that no report exists for: never shown.
    btnPrt_Pub = new ui::Button(QStringLiteral("btnPrt_Pub"), q("&C 徴収市印刷"), this);
    btnPrt_old = new ui::Button(QStringLiteral("btnPrt_old"), q("旧徴収票印刷"), this);
    btnPrt_Pub->hide();
    btnPrt_old->hide();
    auto signBox = [this](const char* name) {
        auto* box = new ui::ComboBox(QString::fromLatin1(name), this, false);
        box->setItems({QStringLiteral("+"), QStringLiteral("-")});
        box->setText(QStringLiteral("+"));
        return box;
    };
    auto amountEdit = [this](const char* name) {
        auto* e = new QLineEdit(QStringLiteral("0"), this);
        e->setObjectName(QString::fromLatin1(name));
        e->setAlignment(Qt::AlignRight);
        e->setMaximumWidth(60);
        return e;
    };
    ComboBox1 = signBox("ComboBox1");
    Edit_Prt1 = amountEdit("Edit_Prt1");
    ComboBox2 = signBox("ComboBox2");
    Edit_Prt2 = amountEdit("Edit_Prt2");
    Button4 = new ui::Button(QStringLiteral("Button4"), q("&Q 閉じる"), this);
    auto* commands = new QHBoxLayout;
    commands->addWidget(DBNavigator1);
    commands->addWidget(btnCalc);
    commands->addWidget(Button3);
    commands->addStretch();
    root->addLayout(commands);
    auto* printing = new QHBoxLayout;
    printing->addWidget(ui::makeLabel(QStringLiteral("Label_Prt1"), q("上余白"), ComboBox1, this));
    printing->addWidget(ComboBox1);
    printing->addWidget(Edit_Prt1);
    printing->addWidget(new QLabel(q("mm"), this));
    printing->addWidget(ui::makeLabel(QStringLiteral("Label_Prt2"), q("左余白"), ComboBox2, this));
    printing->addWidget(ComboBox2);
    printing->addWidget(Edit_Prt2);
    printing->addWidget(new QLabel(q("mm"), this));
    printing->addStretch();
    printing->addWidget(btnPrt);
    printing->addWidget(btnPrt_Pub);
    printing->addWidget(btnPrt_old);
    printing->addWidget(Button4);
    root->addLayout(printing);

    // Hidden state of the row last searched.
    auto hidden = [this](const char* name, const char* text) {
        auto* e = new QLineEdit(QString::fromLatin1(text), this);
        e->setObjectName(QString::fromLatin1(name));
        e->hide();
        return e;
    };
    Edit_chk = hidden("Edit_chk", "0");
    ED_total_1 = hidden("ED_total_1", "0");
    ED_ken_ho = hidden("ED_ken_ho", "0");
    ED_koyo_ho = hidden("ED_koyo_ho", "0");
    ED_koyo_sho = hidden("ED_koyo_sho", "0");
    ED_gensen_z = hidden("ED_gensen_z", "0");
    ED_jyumin_z = hidden("ED_jyumin_z", "0");
    ED_kotu_hi = hidden("ED_kotu_hi", "0");
    ED_meat_back = hidden("ED_meat_back", "0");
    const char* teateNames[5] = {"ED_teate1", "ED_teate2", "ED_teate3", "ED_teate4", "ED_teate5"};
    for (int i = 0; i < 5; ++i) ED_teate[i] = hidden(teateNames[i], "0");

    btnGo->setOnClick([this] { btnGoClick(); });
    btnSeek->setOnClick([this] { btnSeekClick(); });
    Button1->setOnClick([this] { Button1Click(); });
    btnCalc->setOnClick([this] { btnCalcClick(); });
    Button3->setOnClick([this] { Button3Click(); });
    btnPrt->setOnClick([this] { btnPrtClick(); });
    Button4->setOnClick([this] { Button4Click(); });
    setOnExit(Edit1, [this] { Edit1Exit(); });

    setTabOrder(Edit1, btnGo);
    resize(760, 520);
}

TfrmGensenInp::~TfrmGensenInp() {
    db::Dataset& ds = dm_.gensen;
    ds.beforePost = nullptr;
    ds.afterScroll = nullptr;
    ds.afterOpen = nullptr;
    if (frmGensenInp == this) frmGensenInp = nullptr;
}

db::Dataset& TfrmGensenInp::gensen() const { return dm_.gensen; }

std::string TfrmGensenInp::workDir() const {
    if (auto* edit = ui::childOf<QLineEdit>(QStringLiteral("frmMain"), QStringLiteral("Edit1")))
        if (!edit->text().isEmpty()) return rtl::fromQString(edit->text());
    return std::filesystem::current_path().string();
}

void TfrmGensenInp::refuse(const QString& text) {
    ui::showMessage(text, buttonCaption(), ui::Icon::None);
    rtl::abortSilently();
}

yearend::Margins TfrmGensenInp::margins() const {
    yearend::Margins m;
    m.top = {rtl::fromQString(ComboBox1->text()), rtl::fromQString(Edit_Prt1->text())};
    m.left = {rtl::fromQString(ComboBox2->text()), rtl::fromQString(Edit_Prt2->text())};
    return m;
}

void TfrmGensenInp::saveMargins() {
    yearend::writeMargins(workDir(), yearend::latestHym(dm_.ADOConnection1), margins());
}

// ---- show and close ----

void TfrmGensenInp::FormShow() {
    const yearend::Margins m = yearend::readMargins(workDir());
    ComboBox1->setText(rtl::toQString(m.top.sign));
    Edit_Prt1->setText(rtl::toQString(m.top.amount));
    ComboBox2->setText(rtl::toQString(m.left.sign));
    Edit_Prt2->setText(rtl::toQString(m.left.amount));

    // Every save of a row recomputes its totals; every new row shown starts
    // from its own bases.
    db::Dataset& ds = gensen();
    ds.beforePost = [this](db::Dataset& d) {
        if (!computing_) computeRow(d);
    };
    auto newRow = [this](db::Dataset& d) {
        Edit_chk->setText(QStringLiteral("0"));
        for (int i = 0; i < 5; ++i) setAmount(ED_teate[i], d.isEmpty() ? 0 : amountOf(d, kAdjustmentColumns[i]));
    };
    ds.afterScroll = newRow;
    ds.afterOpen = newRow;
    ds.open();
    moveFocusTo(Edit1);
}

void TfrmGensenInp::FormClose(ui::CloseAction&) {
    db::Dataset& ds = gensen();
    // The margins are kept whatever way the window closes.
    struct Release {
        db::Dataset& ds;
        ~Release() {
            ds.close();
            ds.beforePost = nullptr;
            ds.afterScroll = nullptr;
            ds.afterOpen = nullptr;
        }
    } release{ds};
    // A margin file that cannot be written is reported, but the window still
    // closes: otherwise it could never be closed, nor the hub open another.
    ui::guardStrict([this] { saveMargins(); });
}

void TfrmGensenInp::Button4Click() { close(); }

// ---- keys ----

bool TfrmGensenInp::isNumericEdit(QWidget* w) const {
    for (QWidget* n : std::initializer_list<QWidget*>{
             DBEdit7,  DBEdit8,  DBEdit10, DBEdit11, DBEdit12, DBEdit13, DBEdit14, DBEdit24, DBEdit15,  DBEdit16,
             DBEdit17, DBEdit18, DBEdit19, DBEdit20, DBEdit21, DBEdit22, DBEdit23, DBEdit25, Edit_Prt1, Edit_Prt2})
        if (w == n) return true;
    return false;
}

void TfrmGensenInp::FormKeyDown(int& key, Qt::KeyboardModifiers modifiers) {
    QWidget* at = activeControl();
    // The adjustment chain: Enter walks it to 計算, Page Up back.
    const std::vector<QWidget*> chain = {DBEdit16, DBEdit17, DBEdit18, DBEdit19, DBEdit20,
                                         DBEdit21, DBEdit22, DBEdit23, btnCalc};
    const auto inChain = std::find(chain.begin(), chain.end(), at);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (enter && at == Edit1) {
        moveFocusTo(btnGo);
        key = 0;
    } else if (enter && inChain != chain.end() && inChain + 1 != chain.end() && !(modifiers & Qt::ShiftModifier)) {
        moveFocusTo(*(inChain + 1));
        key = 0;
    } else if (key == Qt::Key_PageUp && inChain != chain.end() && inChain != chain.begin()) {
        moveFocusTo(*(inChain - 1));
        key = 0;
    } else if (enter) {
        (modifiers & Qt::ShiftModifier) ? focusPrevious() : focusNext();
        key = 0;
    } else if (key == Qt::Key_Plus) {
        focusNext();
        key = 0;
    } else if (key == Qt::Key_Minus && !isNumericEdit(at)) {
        // A minus sign is typed into amounts and margins; elsewhere it moves back.
        focusPrevious();
        key = 0;
    }
}

// ---- search ----

void TfrmGensenInp::Edit1Exit() {
    const std::string code = rtl::trim(rtl::fromQString(Edit1->text()));
    if (code.empty() || code.size() >= 6) return;
    // Only a number is a code to pad; other text stays as typed.
    for (char ch : code)
        if (!std::isdigit(static_cast<unsigned char>(ch))) return;
    const long long n = rtl::strToInt64(code);
    Edit1->setText(rtl::toQString(rtl::copy(std::to_string(n + 1000000), 2, 6)));
}

void TfrmGensenInp::btnGoClick() {
    db::Dataset& ds = gensen();
    if (ds.active()) ds.checkBrowseMode();
    Edit_chk->setText(QStringLiteral("0"));
    for (QLineEdit* e :
         {ED_total_1, ED_ken_ho, ED_koyo_ho, ED_koyo_sho, ED_gensen_z, ED_jyumin_z, ED_kotu_hi, ED_meat_back})
        e->setText(QStringLiteral("0"));
    ds.setFilter({});
    ds.setFiltered(false);
    ds.setFilter("dcode = '" + db::escaped(rtl::fromQString(Edit1->text())) + "'");
    ds.setFiltered(true);
    ds.open();
}

void TfrmGensenInp::btnSeekClick() { mainlink::showEmployeePicker(modeSlip()); }

void TfrmGensenInp::Button3Click() {
    if (Edit1->text().isEmpty()) refuse(searchFirst());
    ui::showModeless(ui::topLevelWindow(QStringLiteral("frmEmp_Tanka")));
}

// ---- calculation ----

void TfrmGensenInp::computeRow(db::Dataset& ds) {
    computing_ = true;
    struct Reset {
        bool& flag;
        ~Reset() { flag = false; }
    } reset{computing_};

    yearend::SlipBases bases;
    if (ds.state() == db::DatasetState::Insert || Edit_chk->text() != QStringLiteral("1")) {
        yearend::SlipBases stored{amountOf(ds, "total_1"),  amountOf(ds, "ken_ho"),   amountOf(ds, "koyo_ho"),
                                  amountOf(ds, "koyo_sho"), amountOf(ds, "gensen_z"), amountOf(ds, "jyumin_z"),
                                  amountOf(ds, "kotu_hi"),  amountOf(ds, "meat_back")};
        yearend::Adjustments applied{};
        if (ds.state() != db::DatasetState::Insert)
            for (int i = 0; i < 5; ++i) applied[i] = amountOf(ED_teate[i]);
        bases = yearend::basesOf(stored, applied);
        setAmount(ED_total_1, bases.total_1);
        setAmount(ED_ken_ho, bases.ken_ho);
        setAmount(ED_koyo_ho, bases.koyo_ho);
        setAmount(ED_koyo_sho, bases.koyo_sho);
        setAmount(ED_gensen_z, bases.gensen_z);
        setAmount(ED_jyumin_z, bases.jyumin_z);
        setAmount(ED_kotu_hi, bases.kotu_hi);
        setAmount(ED_meat_back, bases.meat_back);
        Edit_chk->setText(QStringLiteral("1"));
    } else {
        bases = {amountOf(ED_total_1),  amountOf(ED_ken_ho),   amountOf(ED_koyo_ho), amountOf(ED_koyo_sho),
                 amountOf(ED_gensen_z), amountOf(ED_jyumin_z), amountOf(ED_kotu_hi), amountOf(ED_meat_back)};
    }
    yearend::Adjustments adjustments{};
    for (int i = 0; i < 5; ++i) adjustments[i] = amountOf(ds, kAdjustmentColumns[i]);
    const yearend::SlipTotals t = yearend::adjustedTotals(bases, adjustments);

    if (ds.state() == db::DatasetState::Browse) ds.edit();
    ds.fieldByName("total_1").setAsInteger(t.total_1);
    ds.fieldByName("koyo_ho").setAsInteger(t.koyo_ho);
    ds.fieldByName("gensen_z").setAsInteger(t.gensen_z);
    ds.fieldByName("jyumin_z").setAsInteger(t.jyumin_z);
    ds.fieldByName("total_s").setAsInteger(t.total_s);
    ds.fieldByName("kotu_hi").setAsInteger(t.kotu_hi);
    ds.fieldByName("total_t").setAsInteger(t.total_t);
}

void TfrmGensenInp::btnCalcClick() {
    db::Dataset& ds = gensen();
    if (!ds.active() || ds.isEmpty()) refuse(searchFirst());
    // Typed text reaches the row first.
    if (QWidget* at = activeControl())
        if (auto* edit = dynamic_cast<ui::DBEdit*>(at)) edit->updateRecord();
    computeRow(ds);
    ds.post();  // the adjustments are kept with the totals they gave
    for (int i = 0; i < 5; ++i) setAmount(ED_teate[i], amountOf(ds, kAdjustmentColumns[i]));
}

// ---- printing ----

void TfrmGensenInp::btnPrtClick() {
    db::Dataset& ds = gensen();
    const std::string code = rtl::fromQString(Edit1->text());
    // The slip prints the rows whose code the database finds equal to the
    // text typed: that must be the row on screen.
    if (rtl::trim(code).empty() || !ds.active() || ds.isEmpty() ||
        db::jetCompare(ds.fieldByName("dcode").asString(), code) != 0)
        refuse(searchFirst());
    ds.checkBrowseMode();
    const yearend::Margins m = margins();
    // Both amounts must be numbers before anything is kept or printed.
    yearend::topMarginMm(m.top);
    yearend::leftMarginMm(m.left);
    // The slip reads its margins from the file, as every later print does.
    saveMargins();
    slipReport()->Preview();
}

reports::ReportForm* TfrmGensenInp::slipReport() {
    const QString name = QStringLiteral("frmQR_Gensen");
    if (QWidget* main = ui::topLevelWindow(QStringLiteral("frmMain")))
        if (auto* slip = main->findChild<reports::ReportForm*>(name, Qt::FindDirectChildrenOnly)) return slip;
    if (auto* own = findChild<reports::ReportForm*>(name, Qt::FindDirectChildrenOnly)) return own;
    return new reports::TfrmQR_Gensen(this);
}
