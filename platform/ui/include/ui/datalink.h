// The tie between a control and one field of a data source.
#pragma once

#include <db/datasource.h>

#include <QString>

#include <functional>

namespace ui {

// Implemented by every data-aware control, so that a form can find the
// data sources of its controls (for the unposted-change question on close).
class DataAware {
public:
    virtual ~DataAware() = default;
    virtual db::DataSource* dataSource() const = 0;
    // Text typed into the control that has not yet reached its field.
    virtual bool hasPendingEdit() const { return false; }
};

class FieldLink {
public:
    struct Hooks {
        std::function<void()> dataChanged;   // the control re-reads its field
        std::function<void()> stateChanged;  // read-only / enabled may change
        std::function<void()> updateData;    // write pending text before a post
    };
    explicit FieldLink(Hooks hooks);
    ~FieldLink();
    FieldLink(const FieldLink&) = delete;
    FieldLink& operator=(const FieldLink&) = delete;

    void setDataSource(db::DataSource* source);
    db::DataSource* dataSource() const { return source_; }
    void setFieldName(const QString& name);
    QString fieldName() const { return fieldName_; }

    db::Dataset* dataset() const;
    // The bound field when the dataset is open and has it; else nullptr.
    db::Field* field() const;
    bool active() const;
    bool editing() const;  // Edit or Insert
    // Puts the row in edit mode as the source allows; false when it cannot be written.
    bool edit();
    // The field can take input now or after edit().
    bool canModify() const;

private:
    void attach();
    void detach();
    Hooks hooks_;
    db::DataSource* source_ = nullptr;
    QString fieldName_;
    int ids_[3] = {0, 0, 0};
};

// Unicode text of a field value and back.
QString fieldDisplayText(const db::Field& field);
QString fieldEditText(const db::Field& field);

}  // namespace ui
