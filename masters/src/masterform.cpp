#include "masters/masterform.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>

#include "data/DB_Acs.h"
#include "db/connection.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/guard.h"

namespace masters {

void setImeMode(QWidget* control, ImeMode mode) {
    switch (mode) {
    case ImeMode::Default: return;
    case ImeMode::Close:
        control->setProperty("imeMode", QStringLiteral("imClose"));
        control->setInputMethodHints(control->inputMethodHints() | Qt::ImhPreferLatin);
        return;
    case ImeMode::Hira: control->setProperty("imeMode", QStringLiteral("imHira")); return;
    case ImeMode::SKata: control->setProperty("imeMode", QStringLiteral("imSKata")); return;
    }
}

QStringList standardNavigatorCaptions() {
    return {QStringLiteral("&F 先頭"), QStringLiteral("&P 前行"), QStringLiteral("&N 次行"), QStringLiteral("&L 最後"),
            QStringLiteral("追加"),    QStringLiteral("削除"),    QStringLiteral("&E 編集"), QStringLiteral("登録"),
            QStringLiteral("取消"),    QStringLiteral("&R 更新")};
}

QStringList companyNavigatorCaptions() {
    return {QStringLiteral("&F 先頭"), QStringLiteral("&P 前行"), QStringLiteral("&N 次行"), QStringLiteral("&L 最後"),
            QStringLiteral("&A 追加"), QStringLiteral("&D 削除"), QStringLiteral("&E 編集"), QStringLiteral("&O 登録"),
            QStringLiteral("&C 取消"), QStringLiteral("&R 更新")};
}

QStringList captionsNavigatorCaptions() {
    return {QStringLiteral("&F 先頭"), QStringLiteral("&P 前行"), QStringLiteral("&N 次行"), QStringLiteral("&L 最後"),
            QStringLiteral("&A 追加"), QStringLiteral("&D 削除"), QStringLiteral("&E 編集"), QStringLiteral("登録"),
            QStringLiteral("取消"),    QStringLiteral("&R 更新")};
}

MasterForm::MasterForm(const QString& objectName, const QString& caption, QWidget* parent)
    : ui::Form(objectName, parent) {
    setWindowTitle(caption);
    setFont(ui::defaultFont());
    setEnterMovesFocus(true);
}

MasterForm::~MasterForm() { stopCheckingPosts(); }

void MasterForm::checkBeforePost(db::Dataset& dataset, std::function<void(db::Dataset&)> check, PostedRow postedRow) {
    stopCheckingPosts();
    checked_ = &dataset;
    checkedModule_ = data::DataModule1;
    previousBeforePost_ = dataset.beforePost;
    previousAfterPost_ = dataset.afterPost;
    if (postedRow == PostedRow::TakesItsPlace) {
        dataset.afterPost = [previous = previousAfterPost_](db::Dataset& d) {
            if (previous) previous(d);
            if (d.connection() && d.connection()->inJob()) return;
            // Read again in the dataset's order; the posted row stays current.
            d.refresh();
        };
    }
    dataset.beforePost = [previous = previousBeforePost_, check = std::move(check)](db::Dataset& d) {
        if (previous) previous(d);
        // The program's own jobs (the recorder database copy appends through
        // the shared component) store what they bring, whether this window
        // is open or not; the window checks what its user edits.
        if (d.connection() && d.connection()->inJob()) return;
        check(d);
    };
}

void MasterForm::stopCheckingPosts() {
    // The data module may have been replaced meanwhile; only our own hook is undone.
    if (checked_ && checkedModule_ && checkedModule_ == data::DataModule1) {
        checked_->beforePost = previousBeforePost_;
        checked_->afterPost = previousAfterPost_;
    }
    checked_ = nullptr;
    checkedModule_ = nullptr;
    previousBeforePost_ = nullptr;
    previousAfterPost_ = nullptr;
}

void MasterForm::refuse(const QString& message, QWidget* field) {
    ui::showMessage(message);
    if (field && field->isVisible()) moveFocusTo(field);
    rtl::abortSilently();
}

ui::DBEdit* MasterForm::dbEdit(QWidget* parent, const QString& name, db::DataSource* source, const QString& field,
                               ImeMode ime) {
    ui::DBEdit* e = ui::makeDBEdit(name, source, field, parent);
    setImeMode(e, ime);
    return e;
}

ui::DBEdit* MasterForm::dbShownEdit(QWidget* parent, const QString& name, db::DataSource* source,
                                    const QString& field) {
    ui::DBEdit* e = dbEdit(parent, name, source, field);
    e->setReadOnly(true);
    e->setFocusPolicy(Qt::NoFocus);
    return e;
}

ui::DBCheckBox* MasterForm::dbCheck(QWidget* parent, const QString& name, const QString& caption,
                                    db::DataSource* source, const QString& field) {
    auto* c = new ui::DBCheckBox(name, caption, parent);
    c->setDataSource(source);
    c->setDataField(field);
    c->setValues(QStringLiteral("1"), QStringLiteral("0"));
    return c;
}

QLabel* MasterForm::label(QWidget* parent, const QString& name, const QString& text, QWidget* buddy) {
    return ui::makeLabel(name, text, buddy, parent);
}

QLabel* MasterForm::note(QWidget* parent, const QString& name, const QString& text) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setTextFormat(Qt::PlainText);
    return l;
}

QWidget* MasterForm::titlePanel(QWidget* parent, const QString& name, const QString& text) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::Panel);
    panel->setFrameShadow(QFrame::Raised);
    auto* lay = new QHBoxLayout(panel);
    lay->setContentsMargins(8, 4, 8, 4);
    auto* title = new QLabel(text, panel);
    title->setObjectName(name + QStringLiteral("Caption"));
    title->setFont(ui::designFont(QStringLiteral("ＭＳ Ｐ明朝"), 14));
    lay->addWidget(title);
    lay->addStretch();
    return panel;
}

ui::DBEdit* MasterForm::gridEdit(QWidget* parent, QGridLayout* grid, int row, int n, db::DataSource* source,
                                 const QString& field, const QString& caption, ImeMode ime) {
    ui::DBEdit* e = dbEdit(parent, QStringLiteral("DBEdit%1").arg(n), source, field, ime);
    grid->addWidget(label(parent, QStringLiteral("Label%1").arg(n), caption, e), row, 0);
    grid->addWidget(e, row, 1);
    return e;
}

QHBoxLayout* MasterForm::bottomBar(db::DataSource* source, Editing editing, const QString& closeName,
                                   ui::DBNavigator*& navigator, ui::Button*& close) {
    auto* bar = new QHBoxLayout;
    navigator = new ui::DBNavigator(QStringLiteral("DBNavigator1"), this);
    navigator->setDataSource(source);
    if (editing == Editing::Rows)
        navigator->setVisibleButtons(
            {ui::NavButton::Insert, ui::NavButton::Delete, ui::NavButton::Post, ui::NavButton::Cancel});
    else navigator->setVisibleButtons({ui::NavButton::Post, ui::NavButton::Cancel});
    bar->addWidget(navigator);
    bar->addStretch();
    close = new ui::Button(closeName, QStringLiteral("閉じる"), this);
    close->setOnClick([this] { this->close(); });
    bar->addWidget(close);
    return bar;
}

void MasterForm::setNavigatorCaptions(ui::DBNavigator* nav, const QStringList& captions) {
    nav->setCaptions(captions);
    for (int i = 0; i < ui::navButtonCount; ++i)
        nav->button(static_cast<ui::NavButton>(i))->setToolTip(captions.value(i));
}

}  // namespace masters
