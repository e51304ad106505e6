#include "ui/datalink.h"

#include <db/dataset.h>

#include <rtl/qt.h>

namespace ui {

FieldLink::FieldLink(Hooks hooks) : hooks_(std::move(hooks)) {}

FieldLink::~FieldLink() { detach(); }

void FieldLink::setDataSource(db::DataSource* source) {
    if (source == source_) return;
    detach();
    source_ = source;
    attach();
    if (hooks_.dataChanged) hooks_.dataChanged();
    if (hooks_.stateChanged) hooks_.stateChanged();
}

void FieldLink::setFieldName(const QString& name) {
    fieldName_ = name;
    if (hooks_.dataChanged) hooks_.dataChanged();
    if (hooks_.stateChanged) hooks_.stateChanged();
}

void FieldLink::attach() {
    if (!source_) return;
    ids_[0] = source_->onDataChange([this](db::Field* f) {
        if (!f || f == field()) {
            if (hooks_.dataChanged) hooks_.dataChanged();
        }
    });
    ids_[1] = source_->onStateChange([this] {
        if (hooks_.stateChanged) hooks_.stateChanged();
        if (hooks_.dataChanged) hooks_.dataChanged();
    });
    ids_[2] = source_->onUpdateData([this] {
        if (hooks_.updateData) hooks_.updateData();
    });
}

void FieldLink::detach() {
    if (!source_) return;
    for (int& id : ids_) {
        if (id) source_->removeObserver(id);
        id = 0;
    }
}

db::Dataset* FieldLink::dataset() const { return source_ ? source_->dataSet() : nullptr; }

db::Field* FieldLink::field() const {
    db::Dataset* ds = dataset();
    if (!ds || !source_->enabled() || !ds->active() || fieldName_.isEmpty()) return nullptr;
    return ds->findField(rtl::fromQString(fieldName_));
}

bool FieldLink::active() const { return field() != nullptr; }

bool FieldLink::editing() const {
    if (!active()) return false;
    const db::DatasetState s = source_->state();
    return s == db::DatasetState::Edit || s == db::DatasetState::Insert;
}

bool FieldLink::canModify() const {
    db::Field* f = field();
    return f && !f->readOnly() && (editing() || (source_->autoEdit() && dataset()->canModify()));
}

bool FieldLink::edit() {
    db::Field* f = field();
    if (!f || f->readOnly()) return false;
    if (editing()) return true;
    return source_->edit() && editing();
}

QString fieldDisplayText(const db::Field& field) { return rtl::toQString(field.displayText()); }
QString fieldEditText(const db::Field& field) { return rtl::toQString(field.editText()); }

}  // namespace ui
