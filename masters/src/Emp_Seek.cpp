#include "masters/Emp_Seek.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "masters/masterform.h"
#include "rtl/qt.h"
#include "rtl/strings.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbgrid.h"
#include "ui/fonts.h"
#include "ui/windows.h"

TfrmEmp_seek* frmEmp_seek = nullptr;

namespace {

// Gives the focus to a control of another window, running that window's
// exit check of the control it leaves.
void focusTo(QWidget* target) {
    if (!target) return;
    QWidget* window = target->window();
    window->raise();
    window->activateWindow();
    if (auto* form = qobject_cast<ui::Form*>(window)) form->moveFocusTo(target);
    else target->setFocus(Qt::OtherFocusReason);
}

void setComboText(QComboBox* combo, const QString& text) {
    if (auto* ours = qobject_cast<ui::ComboBox*>(combo)) ours->setText(text);
    else if (combo->isEditable()) combo->setEditText(text);
    else combo->setCurrentIndex(combo->findText(text));
}

}  // namespace

TfrmEmp_seek::TfrmEmp_seek(QWidget* parent) : ui::Form(QStringLiteral("frmEmp_seek"), parent) {
    if (!frmEmp_seek) frmEmp_seek = this;
    setWindowTitle(QStringLiteral("社員検索"));
    setFont(ui::defaultFont());

    auto* root = new QVBoxLayout(this);
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({{"E_TANCOD", QStringLiteral("社員番号"), 80, true, true, false},
                         {"E_NAME", QStringLiteral("氏名"), 140, true, true, false},
                         {"E_CARDNO", QStringLiteral("カードNO"), 80, true, true, false}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataSource(&data::dataModule().DSQemp_tanka);
    DBGrid1->setAccessibleName(QStringLiteral("在職中の社員"));
    root->addWidget(DBGrid1, 1);

    auto* bottom = new QHBoxLayout;
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setVisible(false);
    bottom->addWidget(Edit1);
    bottom->addStretch();
    Button1 = new ui::Button(QStringLiteral("Button1"), QStringLiteral("確定"), this);
    Button1->setOnClick([this] { Button1Click(); });
    Button2 = new ui::Button(QStringLiteral("Button2"), QStringLiteral("閉じる"), this);
    Button2->setOnClick([this] { Button2Click(); });
    bottom->addWidget(Button1);
    bottom->addWidget(Button2);
    root->addLayout(bottom);
    resize(380, 420);
}

TfrmEmp_seek::~TfrmEmp_seek() {
    if (frmEmp_seek == this) frmEmp_seek = nullptr;
}

void TfrmEmp_seek::showFor(const QString& callerTag) {
    Edit1->setText(callerTag);
    showModeless();
}

void TfrmEmp_seek::FormShow() { data::dataModule().Qemp_tanka.open(); }

void TfrmEmp_seek::FormClose(ui::CloseAction&) {
    if (data::DataModule1) data::DataModule1->Qemp_tanka.close();
}

void TfrmEmp_seek::Button2Click() { close(); }

void TfrmEmp_seek::Button1Click() {
    // Whatever happens in the caller, the picker closes at the end.
    struct CloseAtEnd {
        TfrmEmp_seek* self;
        ~CloseAtEnd() { self->close(); }
    } closeAtEnd{this};

    db::Dataset& q = data::dataModule().Qemp_tanka;
    // No employee in service: there is nobody to hand on.
    if (!q.active() || q.isEmpty()) return;
    Pick pick;
    pick.number = q["E_NO"].asLargeInt();
    pick.numberText = QString::number(pick.number);
    pick.name = rtl::toQString(rtl::trim(q["E_NAME"].asString()));
    pick.cardNo = rtl::toQString(rtl::trim(q["E_CARDNO"].asString()));
    deliver(Edit1->text(), pick);
}

void TfrmEmp_seek::deliver(const QString& tag, const Pick& pick) {
    if (tag == QLatin1String("GensenInp")) {
        if (auto* edit = ui::childOf<QLineEdit>(QStringLiteral("frmGensenInp"), QStringLiteral("Edit1"))) {
            edit->setText(pick.numberText);
            focusTo(edit);
        }
    }
    if (tag == QLatin1String("Total")) {
        db::Dataset& sum = data::dataModule().sum_tran;
        if (sum.active()) {
            if (sum.state() == db::DatasetState::Browse) sum.edit();
            sum["S_TANCOD"].setAsInteger(pick.number);
        }
        // The monthly pay record has the field; the bonus window, opened
        // after the monthly one was freed, gets the focus there if it has one.
        QWidget* target = ui::childOf<QWidget>(QStringLiteral("frmTotal"), QStringLiteral("DBEdit2"));
        if (!target) target = ui::childOf<QWidget>(QStringLiteral("frmTotalB"), QStringLiteral("DBEdit2"));
        focusTo(target);
    }
    if (tag == QLatin1String("MainRep")) {
        if (QWidget* window = ui::topLevelWindow(QStringLiteral("frmMainRep"))) {
            if (auto* combo = ui::childOf<QComboBox>(window, QStringLiteral("ComboBox1")))
                setComboText(combo, pick.name);
            QAction* act = nullptr;
            for (QAction* a : window->findChildren<QAction*>(QStringLiteral("Avt_Change"))) {
                auto* owner = qobject_cast<QWidget*>(a->parent());
                if (!act && (!owner || owner->window() == window)) act = a;
            }
            if (act) {
                if (auto* ours = qobject_cast<ui::Action*>(act)) ours->execute();
                else act->trigger();
            }
        }
    }
    if (tag == QLatin1String("TimeInp")) {
        if (auto* edit = ui::childOf<QLineEdit>(QStringLiteral("frmTimeInp"), QStringLiteral("Edit1"))) {
            edit->setText(pick.cardNo);
            focusTo(edit);
        }
    }
}
