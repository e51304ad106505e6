#include "ui/dbnavigator.h"

#include "ui/dbcontrols.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

#include <db/dataset.h>

#include <QHBoxLayout>

namespace ui {

namespace {
const char* const names[navButtonCount] = {"nbFirst",  "nbPrior", "nbNext", "nbLast",   "nbInsert",
                                           "nbDelete", "nbEdit",  "nbPost", "nbCancel", "nbRefresh"};
// Until a window sets its own.
const char* const defaultCaptions[navButtonCount] = {"先頭", "前行", "次行", "最後", "追加",
                                                     "削除", "編集", "登録", "取消", "更新"};
}  // namespace

QString DBNavigator::buttonName(NavButton which) { return QString::fromLatin1(names[static_cast<int>(which)]); }

QString DBNavigator::deleteQuestion() { return QStringLiteral("削除しますか？"); }

DBNavigator::DBNavigator(const QString& name, QWidget* parent) : QWidget(parent) {
    setObjectName(name);
    detail::installDataCloseHook();
    setFocusPolicy(Qt::NoFocus);
    auto* lay = new QHBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    for (int i = 0; i < navButtonCount; ++i) {
        auto* b = new QPushButton(QString::fromUtf8(defaultCaptions[i]), this);
        b->setObjectName(QString::fromLatin1(names[i]));
        b->setFocusPolicy(Qt::NoFocus);
        b->setAutoDefault(false);
        b->setToolTip(b->text());
        lay->addWidget(b);
        buttons_[static_cast<size_t>(i)] = b;
        const auto which = static_cast<NavButton>(i);
        connect(b, &QPushButton::clicked, this, [this, which] { guard([this, which] { btnClick(which); }); });
    }
    updateButtons();
}

DBNavigator::~DBNavigator() { detach(); }

void DBNavigator::attach() {
    if (!source_) return;
    observers_[0] = source_->onDataChange([this](db::Field* f) {
        if (!f) updateButtons();
    });
    observers_[1] = source_->onStateChange([this] { updateButtons(); });
}

void DBNavigator::detach() {
    if (!source_) return;
    for (int& id : observers_) {
        if (id) source_->removeObserver(id);
        id = 0;
    }
}

void DBNavigator::setDataSource(db::DataSource* source) {
    detach();
    source_ = source;
    attach();
    updateButtons();
}

void DBNavigator::setCaptions(const QStringList& captions) {
    for (int i = 0; i < navButtonCount && i < captions.size(); ++i) {
        QPushButton* b = buttons_[static_cast<size_t>(i)];
        b->setText(captions[i]);
        b->setIcon(QIcon());
        b->setToolTip(captions[i]);
    }
}

QStringList DBNavigator::captions() const {
    QStringList out;
    for (QPushButton* b : buttons_) out << b->text();
    return out;
}

void DBNavigator::setVisibleButtons(std::initializer_list<NavButton> visible) {
    for (QPushButton* b : buttons_) b->setVisible(false);
    for (NavButton v : visible) button(v)->setVisible(true);
}

void DBNavigator::updateButtons() {
    db::Dataset* ds = source_ && source_->enabled() ? source_->dataSet() : nullptr;
    const bool active = ds && ds->active();
    const bool editing = active && (ds->state() == db::DatasetState::Edit || ds->state() == db::DatasetState::Insert);
    const bool canModify = active && ds->canModify();
    const bool empty = !active || ds->isEmpty();
    const bool atFirst = !active || empty || (!editing && ds->recNo() <= 1);
    const bool atLast = !active || empty || (!editing && ds->recNo() >= ds->recordCount());
    auto set = [&](NavButton b, bool on) { button(b)->setEnabled(on); };
    set(NavButton::First, active && !atFirst);
    set(NavButton::Prior, active && !atFirst);
    set(NavButton::Next, active && !atLast);
    set(NavButton::Last, active && !atLast);
    set(NavButton::Insert, canModify);
    set(NavButton::Delete, canModify && !empty);
    set(NavButton::Edit, canModify && !editing);
    set(NavButton::Post, canModify && editing);
    set(NavButton::Cancel, canModify && editing);
    set(NavButton::Refresh, active);
}

void DBNavigator::btnClick(NavButton which) {
    db::Dataset* ds = source_ ? source_->dataSet() : nullptr;
    if (!ds || !ds->active()) return;
    if (before_) before_(which);
    switch (which) {
    case NavButton::First: ds->first(); break;
    case NavButton::Prior: ds->prior(); break;
    case NavButton::Next: ds->next(); break;
    case NavButton::Last: ds->last(); break;
    case NavButton::Insert: ds->insert(); break;
    case NavButton::Delete:
        if (ds->isEmpty()) return;
        if (confirmDelete_ && !askYesNo(deleteQuestion())) return;
        ds->deleteRecord();
        break;
    case NavButton::Edit: ds->edit(); break;
    case NavButton::Post: ds->post(); break;
    case NavButton::Cancel: ds->cancel(); break;
    case NavButton::Refresh: ds->refresh(); break;
    }
    updateButtons();
    if (after_) after_(which);
}

}  // namespace ui
