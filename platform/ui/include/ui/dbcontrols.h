// Data-aware controls: each shows one field of its data source's current
// row and writes what the user enters back into it.
#pragma once

#include "ui/controls.h"
#include "ui/datalink.h"
#include "ui/form.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace ui {

// An edit bound to a field: the display text when not focused, the edit
// text while focused; typing puts the row in edit mode; input is limited to
// the column width; the text reaches the field when the focus leaves (a
// conversion error keeps the focus) and before a post.
class DBEdit : public QLineEdit, public DataAware, public ExitValidator {
    Q_OBJECT
public:
    explicit DBEdit(const QString& name, QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    db::DataSource* dataSource() const override { return link_.dataSource(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    QString dataField() const { return link_.fieldName(); }
    db::Field* field() const { return link_.field(); }

    // Date-time fields shown and typed with this mask (rtl::formatDateTime
    // tokens). "yyyy/mm/dd" (birth dates) also refuses two-digit years, so no
    // century is ever guessed.
    void setDateFormat(const QString& mask) {
        dateFormat_ = mask;
        refresh();
    }

    // The control's own read-only switch: the edit takes no input while it is
    // on, or while the field or its dataset cannot be written, whatever the
    // dataset's state does. (QLineEdit::isReadOnly() tells the outcome.)
    void setReadOnly(bool on);
    bool controlReadOnly() const { return readOnly_; }

    bool hasPendingEdit() const override { return pending_; }
    void validateOnExit() override { updateRecord(); }
    // Writes pending text into the field (conversion errors propagate).
    void updateRecord();
    // Drops pending text and shows the field again (what Esc does).
    void reset();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void refresh();
    void syncState();
    QString fieldText(bool forEditing) const;
    // The typed text into the field (the row is in edit mode).
    void writeText(db::Field& f);
    FieldLink link_;
    QString dateFormat_;
    bool readOnly_ = false;
    bool pending_ = false;
    bool writing_ = false;
};

// An edit of `parent` named `name` and bound to `field` of `source`.
DBEdit* makeDBEdit(const QString& name, db::DataSource* source, const QString& field, QWidget* parent);

// A check box bound to a field: ticked when the field holds the checked
// value. A user click puts the row in edit mode and stores the checked or
// unchecked value at once; the click handler fires on user clicks only.
class DBCheckBox : public QCheckBox, public DataAware {
    Q_OBJECT
public:
    DBCheckBox(const QString& name, const QString& caption, QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    db::DataSource* dataSource() const override { return link_.dataSource(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    void setValues(const QString& checked, const QString& unchecked);  // default "1" / "0"
    void setOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }

private:
    void refresh();
    void userClicked();
    FieldLink link_;
    QString checked_ = QStringLiteral("1");
    QString unchecked_ = QStringLiteral("0");
    std::function<void()> onClick_;
};

// A radio group bound to a field: item i is chosen when the field holds
// values[i] (the captions when no values are given).
class DBRadioGroup : public RadioGroup, public DataAware {
    Q_OBJECT
public:
    DBRadioGroup(const QString& name, const QString& caption, QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    db::DataSource* dataSource() const override { return link_.dataSource(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    void setValues(const QStringList& values) {
        values_ = values;
        refresh();
    }
    QString value() const;

private:
    void refresh();
    void userPicked(int index);
    FieldLink link_;
    QStringList values_;
};

// A combo box bound to a text field: its list offers values, the chosen or
// typed text is stored (choosing stores at once, typing when leaving).
class DBComboBox : public ComboBox, public DataAware, public ExitValidator {
    Q_OBJECT
public:
    explicit DBComboBox(const QString& name, QWidget* parent = nullptr);

    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    db::DataSource* dataSource() const override { return link_.dataSource(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    bool hasPendingEdit() const override { return pending_; }
    void validateOnExit() override { updateRecord(); }
    void updateRecord();

protected:
    void userChanged(bool chosen) override;

private:
    void refresh();
    FieldLink link_;
    bool pending_ = false;
    bool writing_ = false;
};

// A drop-down list bound to a key field, whose items come from a list
// source: each item shows listField and stores keyField. The items are read
// again once per change of the list's rows (open, close, post, refresh,
// scroll), however many controls share that list source.
class DBLookupComboBox : public QComboBox, public DataAware {
    Q_OBJECT
public:
    explicit DBLookupComboBox(const QString& name, QWidget* parent = nullptr);
    ~DBLookupComboBox() override;

    void setDataSource(db::DataSource* source) { link_.setDataSource(source); }
    db::DataSource* dataSource() const override { return link_.dataSource(); }
    void setDataField(const QString& field) { link_.setFieldName(field); }
    void setListSource(db::DataSource* source);
    void setKeyField(const QString& field) {
        keyField_ = field;
        reload();
    }
    void setListField(const QString& field) {
        listField_ = field;
        reload();
    }
    // Re-reads the items from the list source.
    void reload();
    QString keyValue() const;  // the key of the shown item ("" when none)
    void setOnChange(std::function<void()> handler) { onChange_ = std::move(handler); }

private:
    void refresh();
    void userChose(int index);
    FieldLink link_;
    db::DataSource* list_ = nullptr;
    int listObserver_ = 0;
    QString keyField_;
    QString listField_;
    bool filling_ = false;
    std::function<void()> onChange_;
};

namespace detail {
void installDataCloseHook();
}

// The question asked when a data window closes with an unposted change.
QString unpostedChangeQuestion();

// Asks about the unposted changes shown by the data-aware controls of
// `window` and of the windows it owns, as closing it would: Yes posts them,
// No cancels them. False when the user chose Cancel or a post failed (its
// error is shown). For steps that close datasets under open windows (closing
// the connection), so that no typed change is dropped without a word.
bool settleUnpostedChanges(QWidget* window);

// Reads each row of a dataset without disturbing its users: the current
// row, the bound controls and the scroll hook are left as they were.
// Returns false (and reads nothing) while the dataset is editing a row.
bool forEachRow(db::Dataset& dataset, const std::function<void(int recNo)>& visit);

// True while forEachRow reads `dataset`, up to and including the full change
// it notifies as it ends. That change leaves the rows and the current row as
// they were, so a control that re-reads all rows on a full change skips it;
// otherwise each control reading a shared list would make every other one
// read it again, and those again.
bool readingRows(const db::Dataset& dataset);

}  // namespace ui
