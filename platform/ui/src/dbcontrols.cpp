#include "ui/dbcontrols.h"

#include "ui/app.h"
#include "ui/dialogs.h"
#include "ui/guard.h"

#include <db/dataset.h>

#include <rtl/datetime.h>
#include <rtl/errors.h>
#include <rtl/qt.h>

#include <QApplication>
#include <QKeyEvent>
#include <QRegularExpression>

#include <algorithm>

namespace ui {

using rtl::fromQString;
using rtl::toQString;

namespace {

bool isEditing(db::Dataset* ds) {
    return ds && (ds->state() == db::DatasetState::Edit || ds->state() == db::DatasetState::Insert);
}

// Writes a control's typed text into its field through `write`, putting the
// row in edit mode first. Nothing happens while no text is pending or a write
// is already under way (writing re-enters through the data source's
// notifications); a control without a field drops its text. A failing write
// raises and leaves the text pending. True when the text was written.
template <class Write>
bool writePending(FieldLink& link, bool& pending, bool& writing, Write write) {
    if (!pending || writing) return false;
    db::Field* f = link.field();
    if (!f) {
        pending = false;
        return false;
    }
    writing = true;
    struct Writing {
        bool& flag;
        ~Writing() { flag = false; }
    } writingNow{writing};
    if (!link.editing() && !link.edit()) throw rtl::DatabaseError("このデータは変更できません。");
    write(*f);
    pending = false;
    return true;
}

// Before a data window closes: its data sources' unposted rows are saved,
// dropped or keep the window open, as the user answers.
bool askAboutUnpostedChanges(QWidget* window) {
    std::vector<db::Dataset*> changed;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        auto* aware = dynamic_cast<DataAware*>(w);
        if (!aware || !aware->dataSource()) continue;
        db::Dataset* ds = aware->dataSource()->dataSet();
        if (!isEditing(ds) || !(ds->modified() || aware->hasPendingEdit())) continue;
        if (std::find(changed.begin(), changed.end(), ds) == changed.end()) changed.push_back(ds);
    }
    if (changed.empty()) return true;
    switch (askYesNoCancel(unpostedChangeQuestion(), appTitle())) {
    case Answer::Yes:
        for (db::Dataset* ds : changed)
            if (!guard([ds] { ds->post(); })) return false;  // the error is shown; stay open
        return true;
    case Answer::No:
        for (db::Dataset* ds : changed) guard([ds] { ds->cancel(); });
        return true;
    default: return false;
    }
}

// The datasets forEachRow is reading right now (a read may start while
// another one of a different dataset is running).
std::vector<const db::Dataset*>& rowReads() {
    static std::vector<const db::Dataset*> reads;
    return reads;
}

struct RowReadScope {
    db::Dataset& ds;
    std::function<void(db::Dataset&)> scrollHook;
    bool hadRow;
    db::Dataset::Bookmark mark = 0;
    explicit RowReadScope(db::Dataset& d) : ds(d), hadRow(!d.isEmpty()) {
        if (hadRow) mark = ds.bookmark();
        rowReads().push_back(&ds);
        scrollHook = std::move(ds.afterScroll);
        ds.afterScroll = nullptr;
        ds.disableControls();
    }
    ~RowReadScope() {
        try {
            if (hadRow) ds.gotoBookmark(mark);
        } catch (...) {
        }
        ds.afterScroll = std::move(scrollHook);
        // The full change this notifies is still marked as the read's own.
        ds.enableControls();
        auto& reads = rowReads();
        reads.erase(std::find(reads.begin(), reads.end(), &ds));
    }
};

}  // namespace

namespace detail {
void installDataCloseHook() {
    ui::detail::setDataCloseHook([](Form* form) { return askAboutUnpostedChanges(form); });
}
}  // namespace detail

bool settleUnpostedChanges(QWidget* window) { return !window || askAboutUnpostedChanges(window); }

QString unpostedChangeQuestion() { return QStringLiteral("変更が保存されていません。保存しますか？"); }

bool readingRows(const db::Dataset& dataset) {
    const auto& reads = rowReads();
    return std::find(reads.begin(), reads.end(), &dataset) != reads.end();
}

bool forEachRow(db::Dataset& dataset, const std::function<void(int recNo)>& visit) {
    if (!dataset.active()) return true;
    if (isEditing(&dataset)) return false;
    RowReadScope scope(dataset);
    int recNo = 0;
    for (dataset.first(); !dataset.eof(); dataset.next()) visit(++recNo);
    return true;
}

// ---- DBEdit

DBEdit::DBEdit(const QString& name, QWidget* parent)
    : QLineEdit(parent), link_({[this] { refresh(); }, [this] { syncState(); }, [this] { updateRecord(); }}) {
    setObjectName(name);
    detail::installDataCloseHook();
    connect(this, &QLineEdit::textEdited, this, [this] {
        if (writing_) return;
        guard([this] {
            const bool wasPending = pending_;
            pending_ = true;  // keep the typed text while the row enters edit mode
            if (!link_.edit()) {
                pending_ = wasPending;
                reset();
                QApplication::beep();
            }
        });
    });
    syncState();
}

QString DBEdit::fieldText(bool forEditing) const {
    db::Field* f = link_.field();
    if (!f) return {};
    if (!dateFormat_.isEmpty() && f->kind() == db::FieldKind::DateTime)
        return f->isNull() ? QString() : toQString(rtl::formatDateTime(fromQString(dateFormat_), f->asDateTime()));
    return forEditing ? fieldEditText(*f) : fieldDisplayText(*f);
}

void DBEdit::refresh() {
    db::Field* f = link_.field();
    setMaxLength(f && db::isTextKind(f->kind()) && f->size() > 0 ? f->size() : 32767);
    if (pending_) return;
    setText(fieldText(hasFocus()));
    setModified(false);
}

void DBEdit::setReadOnly(bool on) {
    readOnly_ = on;
    if (on && pending_) reset();  // typed text cannot reach the field any more
    syncState();
}

void DBEdit::syncState() {
    if (!link_.editing()) pending_ = false;  // posted or cancelled elsewhere
    db::Field* f = link_.field();
    QLineEdit::setReadOnly(readOnly_ || !(f && !f->readOnly() && f->dataset().canModify()));
}

void DBEdit::updateRecord() {
    if (writePending(link_, pending_, writing_, [this](db::Field& f) { writeText(f); })) refresh();
}

void DBEdit::writeText(db::Field& f) {
    const QString text = QLineEdit::text();
    if (!dateFormat_.isEmpty() && f.kind() == db::FieldKind::DateTime) {
        const QString t = text.trimmed();
        if (t.isEmpty()) {
            f.clear();
        } else {
            // A four-digit display takes four-digit input only.
            if (dateFormat_.contains(QStringLiteral("yyyy"), Qt::CaseInsensitive) &&
                t.section(QLatin1Char('/'), 0, 0).trimmed().size() < 4)
                throw rtl::ConversionError(rtl::msg::notDate(fromQString(text)));
            f.setAsDateTime(rtl::strToDate(fromQString(t)));
        }
    } else {
        f.setEditText(fromQString(text));
    }
}

void DBEdit::reset() {
    pending_ = false;
    refresh();
}

void DBEdit::focusInEvent(QFocusEvent* e) {
    if (!pending_) setText(fieldText(true));
    QLineEdit::focusInEvent(e);
}

void DBEdit::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (!pending_) setText(fieldText(false));
}

void DBEdit::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Escape && pending_) {
        reset();
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

DBEdit* makeDBEdit(const QString& name, db::DataSource* source, const QString& field, QWidget* parent) {
    auto* e = new DBEdit(name, parent);
    e->setDataSource(source);
    e->setDataField(field);
    return e;
}

// ---- DBCheckBox

DBCheckBox::DBCheckBox(const QString& name, const QString& caption, QWidget* parent)
    : QCheckBox(caption, parent), link_({[this] { refresh(); }, {}, {}}) {
    setObjectName(name);
    detail::installDataCloseHook();
    connect(this, &QCheckBox::clicked, this, [this] { guard([this] { userClicked(); }); });
}

void DBCheckBox::setValues(const QString& checked, const QString& unchecked) {
    checked_ = checked;
    unchecked_ = unchecked;
    refresh();
}

void DBCheckBox::refresh() {
    db::Field* f = link_.field();
    QSignalBlocker block(this);
    setChecked(f && !f->isNull() && toQString(f->asString()).trimmed() == checked_);
}

void DBCheckBox::userClicked() {
    const bool want = isChecked();
    if (!link_.edit()) {
        refresh();
        return;
    }
    link_.field()->setAsString(fromQString(want ? checked_ : unchecked_));
    if (onClick_) onClick_();
}

// ---- DBRadioGroup

DBRadioGroup::DBRadioGroup(const QString& name, const QString& caption, QWidget* parent)
    : RadioGroup(name, caption, parent), link_({[this] { refresh(); }, {}, {}}) {
    detail::installDataCloseHook();
    connect(this, &RadioGroup::userPicked, this, [this](int index) { guard([this, index] { userPicked(index); }); });
}

QString DBRadioGroup::value() const {
    const QStringList& v = values_.isEmpty() ? items() : values_;
    return v.value(itemIndex());
}

void DBRadioGroup::refresh() {
    db::Field* f = link_.field();
    const QStringList& v = values_.isEmpty() ? items() : values_;
    setItemIndex(f && !f->isNull() ? v.indexOf(toQString(f->asString()).trimmed()) : -1);
}

void DBRadioGroup::userPicked(int index) {
    const QStringList& v = values_.isEmpty() ? items() : values_;
    if (!link_.edit() || index < 0 || index >= v.size()) {
        refresh();
        return;
    }
    link_.field()->setAsString(fromQString(v[index]));
}

// ---- DBComboBox

DBComboBox::DBComboBox(const QString& name, QWidget* parent)
    : ComboBox(name, parent, true),
      link_({[this] { refresh(); },
             [this] {
                 if (!link_.editing()) pending_ = false;
             },
             [this] { updateRecord(); }}) {
    detail::installDataCloseHook();
}

void DBComboBox::refresh() {
    if (pending_) return;
    db::Field* f = link_.field();
    setText(f ? fieldEditText(*f) : QString());
}

void DBComboBox::userChanged(bool chosen) {
    if (writing_) return;
    pending_ = true;
    if (!link_.edit()) {
        pending_ = false;
        refresh();
        return;
    }
    if (chosen) updateRecord();
}

void DBComboBox::updateRecord() {
    writePending(link_, pending_, writing_, [this](db::Field& f) { f.setEditText(fromQString(currentText())); });
}

// ---- DBLookupComboBox

DBLookupComboBox::DBLookupComboBox(const QString& name, QWidget* parent)
    : QComboBox(parent), link_({[this] { refresh(); }, {}, {}}) {
    setObjectName(name);
    setEditable(false);
    detail::installDataCloseHook();
    connect(this, &QComboBox::activated, this, [this](int index) { guard([this, index] { userChose(index); }); });
}

DBLookupComboBox::~DBLookupComboBox() {
    if (list_ && listObserver_) list_->removeObserver(listObserver_);
}

void DBLookupComboBox::setListSource(db::DataSource* source) {
    if (list_ && listObserver_) list_->removeObserver(listObserver_);
    list_ = source;
    listObserver_ = 0;
    if (list_)
        listObserver_ = list_->onDataChange([this](db::Field* f) {
            // A full change that a read of the rows notifies (this or any
            // other control's) leaves the rows as they were: nothing to re-read.
            if (filling_ || f) return;
            if (db::Dataset* ds = list_->dataSet(); ds && readingRows(*ds)) return;
            reload();
        });
    reload();
}

void DBLookupComboBox::reload() {
    if (filling_) return;
    filling_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{filling_};
    QSignalBlocker block(this);
    db::Dataset* ds = list_ ? list_->dataSet() : nullptr;
    if (!ds || !ds->active() || keyField_.isEmpty()) {
        clear();
    } else {
        db::Field* key = ds->findField(fromQString(keyField_));
        db::Field* shown = ds->findField(fromQString(listField_.isEmpty() ? keyField_ : listField_));
        if (!key || !shown) {
            clear();
        } else {
            QStringList texts, keys;
            const bool read = forEachRow(*ds, [&](int) {
                keys << toQString(key->asString()).trimmed();
                texts << fieldDisplayText(*shown);
            });
            if (read) {
                clear();
                for (int i = 0; i < texts.size(); ++i) addItem(texts[i], keys[i]);
            }
        }
    }
    filling_ = false;
    refresh();
}

QString DBLookupComboBox::keyValue() const { return currentData().toString(); }

void DBLookupComboBox::refresh() {
    QSignalBlocker block(this);
    db::Field* f = link_.field();
    setCurrentIndex(f && !f->isNull() ? findData(toQString(f->asString()).trimmed()) : -1);
}

void DBLookupComboBox::userChose(int index) {
    if (!link_.edit() || index < 0) {
        refresh();
        return;
    }
    link_.field()->setAsString(fromQString(itemData(index).toString()));
    if (onChange_) onChange_();
}

}  // namespace ui
