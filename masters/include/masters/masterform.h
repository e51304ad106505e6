// What the master-data windows share: the window frame (title panel,
// Enter moves the focus, the program's font), bound edits with their input
// method, labels, the record navigator with its captions, and finding other
// windows of the program by their object names.
#pragma once

#include <QString>
#include <QStringList>

#include <QComboBox>
#include <QLineEdit>

#include <functional>
#include <initializer_list>

#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/form.h"

class QLabel;
class QWidget;

namespace data {
class TDataModule1;
}
namespace db {
class DataSource;
class Dataset;
}
namespace ui {
class Button;
}

namespace masters {

// How the input method starts in a field. Qt has no switch for the Japanese
// input modes, so the mode is kept as the property "imeMode" ("imClose",
// "imHira", "imSKata") for a platform input method to read; a closed input
// method also asks for Latin input through the input-method hints.
enum class ImeMode { Default, Close, Hira, SKata };
void setImeMode(QWidget* control, ImeMode mode);

// Navigator captions in button order (first, prior, next, last, insert,
// delete, edit, post, cancel, refresh).
QStringList standardNavigatorCaptions();   // "&F 先頭" ... "追加", "削除" ... "&R 更新"
QStringList companyNavigatorCaptions();    // with "&A 追加", "&D 削除", "&O 登録", "&C 取消"
QStringList captionsNavigatorCaptions();   // with "&A 追加", "&D 削除", "登録", "取消"

// A control of `window` by object name, not one of a window it owns.
template <class T = QWidget>
T* controlOf(QWidget* window, const QString& objectName)
{
    if (!window) return nullptr;
    for (T* w : window->findChildren<T*>(objectName))
        if (w->window() == window) return w;
    return nullptr;
}

// The program's data module; an error when there is none.
data::TDataModule1& dataModule();

// A visible window of the program by its object name (the newest visible
// one, else the newest alive), or nullptr.
QWidget* findWindow(const QString& objectName);

// A field shown in an edit frame that never takes input or the focus (the
// employee number repeated on the later pages of the employee master).
// ui::DBEdit re-derives its read-only state from the dataset, so it cannot
// be held read-only itself.
class DBReadOnlyEdit : public QLineEdit, public ui::DataAware {
    Q_OBJECT
public:
    DBReadOnlyEdit(const QString& name, db::DataSource* source, const QString& field,
                   QWidget* parent = nullptr);
    db::DataSource* dataSource() const override { return link_.dataSource(); }

private:
    void refresh();
    ui::FieldLink link_;
};

// A drop-down that stores the key of the chosen item in a field, with the
// items given by the window (key and shown text). The employee master has
// eleven kind pickers over one list: ui::DBLookupComboBox re-reads its list
// whenever another control on the same list source reads it, so eleven of
// them keep reloading each other; these are filled once per page show.
class DBKindComboBox : public QComboBox, public ui::DataAware {
    Q_OBJECT
public:
    DBKindComboBox(const QString& name, db::DataSource* source, const QString& field,
                   QWidget* parent = nullptr);
    db::DataSource* dataSource() const override { return link_.dataSource(); }
    // Replaces the items; the field's value stays shown when it is among them.
    void setChoices(const QStringList& keys, const QStringList& texts);
    QString keyValue() const { return currentData().toString(); }

private:
    void refresh();
    void userChose(int index);
    ui::FieldLink link_;
};

class MasterForm : public ui::Form {
    Q_OBJECT
public:
    MasterForm(const QString& objectName, const QString& caption, QWidget* parent);
    ~MasterForm() override;

protected:
    // A bound edit of `source` on `parent`.
    ui::DBEdit* dbEdit(QWidget* parent, const QString& name, db::DataSource* source,
                       const QString& field, ImeMode ime = ImeMode::Default);
    ui::DBCheckBox* dbCheck(QWidget* parent, const QString& name, const QString& caption,
                            db::DataSource* source, const QString& field);
    // A label, tied to `buddy` when given.
    QLabel* label(QWidget* parent, const QString& name, const QString& text,
                  QWidget* buddy = nullptr);
    // A fixed note beside a field.
    QLabel* note(QWidget* parent, const QString& name, const QString& text);
    // The title panel at the top of a window.
    QWidget* titlePanel(QWidget* parent, const QString& name, const QString& text);
    ui::DBNavigator* navigator(QWidget* parent, db::DataSource* source,
                               std::initializer_list<ui::NavButton> visible);
    // The "閉じる" button: closes the window.
    ui::Button* closeButton(QWidget* parent, const QString& name);
    // Sets the navigator's captions: each caption is also its button's hint.
    static void setNavigatorCaptions(ui::DBNavigator* nav, const QStringList& captions);

    // From now until stopCheckingPosts(), `check` runs before every post of
    // `dataset` (after the hook it already had), however the post comes:
    // the navigator, a move to another row, the save question on close. A
    // field's exit check alone would miss the posts made while the focus is
    // still in that field.
    void checkBeforePost(db::Dataset& dataset, std::function<void(db::Dataset&)> check);
    void stopCheckingPosts();

    // Shows a refusal, puts the focus into `field` (when given) and ends the
    // operation with the silent abort.
    [[noreturn]] void refuse(const QString& message, QWidget* field = nullptr);

private:
    db::Dataset* checked_ = nullptr;
    data::TDataModule1* checkedModule_ = nullptr;
    std::function<void(db::Dataset&)> previousBeforePost_;
};

}  // namespace masters
