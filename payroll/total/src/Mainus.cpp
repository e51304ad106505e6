#include "total/Mainus.h"

#include <QCheckBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QTableWidget>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "payrecord/actions.h"
#include "payrecord/store.h"
#include "rtl/convert.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/guard.h"

namespace {

QString num(int n) { return QString::number(n); }

}  // namespace

TfrmMainus::TfrmMainus(QWidget* parent, data::TDataModule1* dm)
    : ui::Form(QStringLiteral("frmMainus"), parent), dm_(data::dataModule(dm)) {
    setWindowTitle(QStringLiteral("天引伝票"));
    setFont(ui::defaultFont());
    db::DataSource* src = &dm_.DS_minus_dat;
    auto bound = [&](const QString& name, const char* field, int width, bool tab) {
        ui::DBEdit* e = ui::makeDBEdit(name, src, QString::fromLatin1(field), this);
        e->setFixedWidth(width);
        e->setAccessibleName(QString::fromLatin1(field));
        if (!tab) e->setFocusPolicy(Qt::ClickFocus);
        return e;
    };

    auto* head = new QGridLayout;
    const struct {
        const char* caption;
        const char* name;
        const char* field;
        int width;
    } heads[] = {{"ﾃﾞｰﾀNo", "DBEdit1", "M_No", 60},
                 {"勤務区分", "DBEdit2", "M_SEQNO", 40},
                 {"社員ｺｰﾄﾞ", "DBEdit3", "M_TANCOD", 70},
                 {"月度", "DBEdit5", "M_DATE", 80}};
    int col = 0;
    for (const auto& h : heads) {
        ui::DBEdit* e = bound(QString::fromLatin1(h.name), h.field, h.width, false);
        head->addWidget(ui::makeLabel(QString::fromLatin1(h.name) + "Label", QString::fromUtf8(h.caption), e, this), 0,
                        col++);
        head->addWidget(e, 0, col++);
        if (QLatin1String(h.name) == QLatin1String("DBEdit3"))
            head->addWidget(bound(QStringLiteral("DBEdit4"), "M_TANMEI", 140, false), 0, col++);
    }

    auto* lines = new QGridLayout;
    lines->addWidget(new QLabel(QStringLiteral("行番号"), this), 0, 0);
    lines->addWidget(new QLabel(QStringLiteral("差引項目"), this), 0, 1);
    lines->addWidget(new QLabel(QStringLiteral("差引金額"), this), 0, 2);
    lines->addWidget(new QLabel(QStringLiteral("ｸﾘｱ"), this), 0, 3);
    for (int n = 0; n < 10; ++n) {
        const int base = 6 + 3 * n;
        ui::DBEdit* no = bound("DBEdit" + num(base), ("M_DATNO_" + std::to_string(n)).c_str(), 40, false);
        no->setAccessibleName("M_DATNO_" + num(n));
        textEdits[n] = bound("DBEdit" + num(base + 1), "", 280, true);
        textEdits[n]->setDataField("M_DAT_" + num(n));
        textEdits[n]->setAccessibleName("M_DAT_" + num(n));
        amountEdits[n] = bound("DBEdit" + num(base + 2), "", 100, true);
        amountEdits[n]->setDataField("M_KING_" + num(n));
        amountEdits[n]->setAccessibleName("M_KING_" + num(n));
        amountEdits[n]->setToolTip(QStringLiteral("加算の場合は「－」を付けて下さい。"));
        CheckBoxes[n] = new QCheckBox(this);
        CheckBoxes[n]->setObjectName("CheckBox" + num(n + 1));
        CheckBoxes[n]->setAccessibleName("行消去 " + num(n + 1));
        CheckBoxes[n]->setEnabled(false);
        spButtons[n] = new ui::Button("btnSP" + num(n), QStringLiteral("参"), this);
        spButtons[n]->setFixedWidth(32);
        lines->addWidget(no, n + 1, 0);
        lines->addWidget(textEdits[n], n + 1, 1);
        lines->addWidget(amountEdits[n], n + 1, 2);
        lines->addWidget(CheckBoxes[n], n + 1, 3);
        lines->addWidget(spButtons[n], n + 1, 4);
    }

    auto* totals = new QHBoxLayout;
    const struct {
        const char* caption;
        const char* name;
        const char* field;
        bool tab;
    } sums[] = {{"合計金額", "DBEdit36", "M_GKING", true},
                {"給与金額", "DBEdit37", "M_KYUYO", false},
                {"振込金額", "DBEdit38", "M_FURI_KG", true}};
    for (const auto& t : sums) {
        ui::DBEdit* e = bound(QString::fromLatin1(t.name), t.field, 100, t.tab);
        totals->addWidget(ui::makeLabel(QString::fromLatin1(t.name) + "Label", QString::fromUtf8(t.caption), e, this));
        totals->addWidget(e);
    }
    totals->addStretch();

    DBNavigator1 = new ui::DBNavigator(QStringLiteral("DBNavigator1"), this);
    DBNavigator1->setDataSource(&dm_.DS_minus_dat);
    DBNavigator1->setVisibleButtons({ui::NavButton::Delete, ui::NavButton::Post, ui::NavButton::Cancel});
    btnClear = new ui::Button(QStringLiteral("btnClear"), QStringLiteral("行消去"), this);
    btnClear->setEnabled(false);
    btnClose = new ui::Button(QStringLiteral("btnClose"), QStringLiteral("&Q 閉じる"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(DBNavigator1);
    buttons->addWidget(btnClear);
    buttons->addStretch();
    buttons->addWidget(btnClose);

    // The item picker, hidden until a line's "参" is pressed.
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFrameShape(QFrame::StyledPanel);
    StringGrid1 = new QTableWidget(5, 3, Panel2);
    StringGrid1->setObjectName(QStringLiteral("StringGrid1"));
    StringGrid1->setAccessibleName(QStringLiteral("差引項目一覧"));
    StringGrid1->horizontalHeader()->hide();
    StringGrid1->verticalHeader()->hide();
    StringGrid1->setColumnWidth(0, 32);
    StringGrid1->setColumnWidth(1, 171);
    StringGrid1->setColumnWidth(2, 67);
    btnOK = new ui::Button(QStringLiteral("btnOK"), QStringLiteral("確定"), Panel2);
    btnCan = new ui::Button(QStringLiteral("btnCan"), QStringLiteral("取消"), Panel2);
    btnAdd = new ui::Button(QStringLiteral("btnAdd"), QStringLiteral("登録"), Panel2);
    btnDel = new ui::Button(QStringLiteral("btnDel"), QStringLiteral("削除"), Panel2);
    btnIns = new ui::Button(QStringLiteral("btnIns"), QStringLiteral("挿入"), Panel2);
    auto* panel = new QVBoxLayout(Panel2);
    panel->addWidget(StringGrid1);
    auto* pick = new QHBoxLayout;
    for (ui::Button* b : {btnOK, btnCan, btnAdd, btnDel, btnIns}) pick->addWidget(b);
    panel->addLayout(pick);
    Panel2->hide();

    auto* left = new QVBoxLayout;
    left->addLayout(head);
    left->addLayout(lines);
    left->addLayout(totals);
    left->addLayout(buttons);
    auto* lay = new QHBoxLayout(this);
    lay->addLayout(left);
    lay->addWidget(Panel2);
}

TfrmMainus::~TfrmMainus() = default;

void TfrmMainus::FormCreate() {
    setEnterMovesFocus(true);
    DBNavigator1->setCaptions({QStringLiteral("&F 先頭"), QStringLiteral("&P 前行"), QStringLiteral("&N 次行"),
                               QStringLiteral("&L 最後"), QStringLiteral("&A 追加"), QStringLiteral("&D 削除"),
                               QStringLiteral("&E 編集"), QStringLiteral("&O 登録"), QStringLiteral("&C 取消"),
                               QStringLiteral("&R 更新")});
    folder_ = std::filesystem::current_path();
    for (int n = 0; n < 10; ++n) {
        connect(CheckBoxes[n], &QCheckBox::clicked, this, [this] { ui::guard([this] { Act_CB_CLExecute(); }); });
        spButtons[n]->setOnClick([this, n] { btnSPClick(n); });
    }
    btnClear->setOnClick([this] { btnClearClick(); });
    btnClose->setOnClick([this] { btnCloseClick(); });
    btnOK->setOnClick([this] { btnOKClick(); });
    btnCan->setOnClick([this] { btnCanClick(); });
    btnAdd->setOnClick([this] { btnAddClick(); });
    btnDel->setOnClick([this] { btnDelClick(); });
    btnIns->setOnClick([this] { btnInsClick(); });
    connect(StringGrid1, &QTableWidget::cellChanged, this, [this] { ui::guard([this] { Act_SG_NoExecute(); }); });

    // Totals follow every change of a line's amount (set up first: a broken
    // item list below ends this step with its message).
    observer_ = dm_.DS_minus_dat.onDataChange([this](db::Field* f) {
        if (!f || totalling_) return;
        const std::string& name = f->fieldName();
        if (name.rfind("M_KING_", 0) != 0) return;
        const int line = name.back() - '0';
        ui::guard([this, line] { amountChanged(line); });
    });
    setGridRows({{"No", "差引項目", "差引金額"}}, 5);
    payrecord::deleteEmptySlips(dm_.ADOConnection1);
    Act_SG_ShowExecute();
}

void TfrmMainus::FormDestroy() {
    if (observer_) dm_.DS_minus_dat.removeObserver(observer_);
    observer_ = 0;
}

void TfrmMainus::FormShow() {
    db::Connection& c = dm_.ADOConnection1;
    const int count = payrecord::countSlips(c, origin_.key, origin_.employeeNo);
    payrecord::showSlip(dm_.minus_dat, origin_.key, origin_.employeeNo);
    for (int n = 0; n < 10; ++n)
        CheckBoxes[n]->setEnabled(!dm_.minus_dat.isEmpty() &&
                                  payrecord::yen(dm_.minus_dat, ("M_KING_" + std::to_string(n)).c_str()) > 0);
    if (count > 0) return;
    try {
        totalling_ = true;
        payrecord::startSlip(c, dm_.minus_dat, origin_);
        totalling_ = false;
    } catch (const payrecord::RecordError& e) {
        totalling_ = false;
        ui::showMessage(QString::fromUtf8(e.what()));
    }
}

void TfrmMainus::FormClose(ui::CloseAction& action) {
    (void)action;
    if (dm_.minus_dat.active()) dm_.minus_dat.close();
}

void TfrmMainus::amountChanged(int line) {
    db::Dataset& s = dm_.minus_dat;
    if (!payrecord::hasCurrentRow(s)) return;
    CheckBoxes[line]->setEnabled(payrecord::yen(s, ("M_KING_" + std::to_string(line)).c_str()) > 0);
    Act_kingExecute();
}

void TfrmMainus::Act_kingExecute() {
    totalling_ = true;
    try {
        payrecord::updateSlipTotals(dm_.minus_dat);
    } catch (...) {
        totalling_ = false;
        throw;
    }
    totalling_ = false;
}

void TfrmMainus::Act_CB_CLExecute() { btnClear->setEnabled(!btnClear->isEnabled()); }

void TfrmMainus::btnClearClick() {
    db::Dataset& s = dm_.minus_dat;
    if (!payrecord::hasCurrentRow(s)) return;
    totalling_ = true;
    for (int n = 0; n < 10; ++n) {
        if (!CheckBoxes[n]->isChecked()) continue;
        if (s.state() == db::DatasetState::Browse) s.edit();
        s.fieldByName("M_DAT_" + std::to_string(n)).clear();
        s.fieldByName("M_KING_" + std::to_string(n)).setAsInteger(0);
        CheckBoxes[n]->setEnabled(false);  // as for any amount of 0
    }
    totalling_ = false;
    for (QCheckBox* box : CheckBoxes) box->setChecked(false);
    btnClear->setEnabled(false);
    Act_kingExecute();
}

void TfrmMainus::btnSPClick(int line) {
    line_ = num(line);
    Panel2->show();
}

void TfrmMainus::btnOKClick() {
    if (line_.isEmpty()) return;
    const int r = StringGrid1->currentRow();
    auto cell = [this, r](int c) {
        const QTableWidgetItem* item = r >= 0 ? StringGrid1->item(r, c) : nullptr;
        return item ? rtl::fromQString(item->text()) : std::string();
    };
    const int amount = rtl::strToInt(cell(2));
    db::Dataset& s = dm_.minus_dat;
    if (!s.active()) return;
    if (s.state() == db::DatasetState::Browse) s.edit();
    const std::string n = rtl::fromQString(line_);
    s.fieldByName("M_DATNO_" + n).setAsInteger(r + 1);
    s.fieldByName("M_DAT_" + n).setAsString(cell(1));
    s.fieldByName("M_KING_" + n).setAsInteger(amount);
    line_.clear();
    Panel2->hide();
}

void TfrmMainus::btnCanClick() {
    line_.clear();
    Panel2->hide();
}

payrecord::ItemGrid TfrmMainus::gridRows() const {
    payrecord::ItemGrid rows;
    for (int r = 0; r < StringGrid1->rowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < 3; ++c) {
            const QTableWidgetItem* item = StringGrid1->item(r, c);
            cells.push_back(item ? rtl::fromQString(item->text()) : std::string());
        }
        rows.push_back(cells);
    }
    return rows;
}

void TfrmMainus::setGridRows(const payrecord::ItemGrid& rows, int rowCount) {
    const QSignalBlocker block(StringGrid1);
    StringGrid1->clearContents();
    StringGrid1->setRowCount(std::max<int>(rowCount, 1));
    for (std::size_t r = 0; r < rows.size() && static_cast<int>(r) < StringGrid1->rowCount(); ++r)
        for (int c = 0; c < 3 && c < static_cast<int>(rows[r].size()); ++c)
            StringGrid1->setItem(static_cast<int>(r), c, new QTableWidgetItem(rtl::toQString(rows[r][c])));
    for (int c = 0; c < 3; ++c)
        if (QTableWidgetItem* head = StringGrid1->item(0, c)) head->setFlags(head->flags() & ~Qt::ItemIsEditable);
}

void TfrmMainus::Act_SG_ShowExecute() {
    if (std::filesystem::exists(itemFile())) Act_SG_ReadExecute();
    else Act_SG_WriteExecute();
}

void TfrmMainus::Act_SG_ReadExecute() {
    payrecord::ItemGrid partial;
    try {
        const payrecord::ItemGrid rows = payrecord::readItems(itemFile(), &partial);
        setGridRows(rows, static_cast<int>(rows.size()) + 1);
    } catch (const rtl::ListIndexError&) {
        // The rows before the short line stay; the row count does not change.
        payrecord::ItemGrid shown = partial;
        setGridRows(shown, std::max<int>(StringGrid1->rowCount(), static_cast<int>(shown.size())));
        throw;
    }
}

void TfrmMainus::Act_SG_WriteExecute() {
    payrecord::ItemGrid rows = gridRows();
    const int written = payrecord::writeItems(itemFile(), rows);
    // The rows as saved, then at least one empty row; the grid never shrinks
    // below the rows it had.
    payrecord::ItemGrid kept;
    for (std::size_t r = 0; r < rows.size(); ++r)
        if (r == 0 || !rows[r][1].empty()) kept.push_back(rows[r]);
    setGridRows(kept, std::max(written + 1, StringGrid1->rowCount()));
}

void TfrmMainus::Act_SG_DelExecute() {
    const int r = StringGrid1->currentRow();
    if (r <= 0) return;
    StringGrid1->removeRow(r);
}

void TfrmMainus::Act_SG_NoExecute() {
    payrecord::ItemGrid rows = gridRows();
    payrecord::renumberItems(rows);
    const QSignalBlocker block(StringGrid1);
    for (int r = 1; r < static_cast<int>(rows.size()); ++r) {
        if (rows[r][1].empty()) break;
        StringGrid1->setItem(r, 0, new QTableWidgetItem(rtl::toQString(rows[r][0])));
    }
}

void TfrmMainus::btnAddClick() {
    Act_SG_NoExecute();
    Act_SG_WriteExecute();
}

void TfrmMainus::btnDelClick() {
    Act_SG_DelExecute();
    Act_SG_WriteExecute();
}

void TfrmMainus::btnInsClick() {
    const int r = std::max(1, StringGrid1->currentRow());
    StringGrid1->insertRow(r);
}

void TfrmMainus::btnCloseClick() { close(); }
