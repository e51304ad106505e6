// What the master-data windows share: the window frame (title panel,
// Enter moves the focus, the program's font), bound edits with their input
// method, labels and the record navigator with its captions.
#pragma once

#include <QString>
#include <QStringList>

#include <functional>

#include "ui/dbcontrols.h"
#include "ui/dbnavigator.h"
#include "ui/form.h"

class QGridLayout;
class QHBoxLayout;
class QLabel;
class QWidget;

namespace data {
class TDataModule1;
}
namespace db {
class DataSource;
class Dataset;
}  // namespace db
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
QStringList standardNavigatorCaptions();  // "&F 先頭" ... "追加", "削除" ... "&R 更新"
QStringList companyNavigatorCaptions();   // with "&A 追加", "&D 削除", "&O 登録", "&C 取消"
QStringList captionsNavigatorCaptions();  // with "&A 追加", "&D 削除", "登録", "取消"

class MasterForm : public ui::Form {
    Q_OBJECT
public:
    MasterForm(const QString& objectName, const QString& caption, QWidget* parent);
    ~MasterForm() override;

protected:
    // A bound edit of `source` on `parent`.
    ui::DBEdit* dbEdit(QWidget* parent, const QString& name, db::DataSource* source, const QString& field,
                       ImeMode ime = ImeMode::Default);
    // A bound edit that only shows its field: it never takes input or the
    // focus (the employee number repeated on the later pages of a window).
    ui::DBEdit* dbShownEdit(QWidget* parent, const QString& name, db::DataSource* source, const QString& field);
    ui::DBCheckBox* dbCheck(QWidget* parent, const QString& name, const QString& caption, db::DataSource* source,
                            const QString& field);
    // A label, tied to `buddy` when given.
    QLabel* label(QWidget* parent, const QString& name, const QString& text, QWidget* buddy = nullptr);
    // A fixed note beside a field.
    QLabel* note(QWidget* parent, const QString& name, const QString& text);
    // The title panel at the top of a window.
    QWidget* titlePanel(QWidget* parent, const QString& name, const QString& text);
    // Row `row` of `grid`: the label "Label<n>" with `caption` in column 0,
    // tied to the bound edit "DBEdit<n>" on `field` in column 1.
    ui::DBEdit* gridEdit(QWidget* parent, QGridLayout* grid, int row, int n, db::DataSource* source,
                         const QString& field, const QString& caption, ImeMode ime = ImeMode::Default);
    // What a window's navigator offers: a list of rows (insert, delete, post,
    // cancel) or changes to the rows there are (post, cancel).
    enum class Editing { Rows, ExistingRows };
    // The bar at the bottom of a data window: the navigator "DBNavigator1"
    // on `source` with the buttons of `editing`, and at the far end the
    // "閉じる" button `closeName`, which closes the window. Both are also
    // handed out through `navigator` and `close`.
    QHBoxLayout* bottomBar(db::DataSource* source, Editing editing, const QString& closeName,
                           ui::DBNavigator*& navigator, ui::Button*& close);
    // Sets the navigator's captions: each caption is also its button's hint.
    static void setNavigatorCaptions(ui::DBNavigator* nav, const QStringList& captions);

    // From now until stopCheckingPosts(), `check` runs before every post of
    // `dataset` (after the hook it already had), however the post comes:
    // the navigator, a move to another row, the save question on close. A
    // field's exit check alone would miss the posts made while the focus is
    // still in that field. Posts made inside a job of the connection (the
    // program's batch copies) are not checked.
    // With PostedRow::TakesItsPlace a row posted here (a new one, or one
    // whose key changed) moves to its place in the dataset's order at once
    // and stays the current row, instead of staying where it was typed in.
    enum class PostedRow { StaysWhereTyped, TakesItsPlace };
    void checkBeforePost(db::Dataset& dataset, std::function<void(db::Dataset&)> check,
                         PostedRow postedRow = PostedRow::StaysWhereTyped);
    void stopCheckingPosts();

    // Shows a refusal, puts the focus into `field` (when given) and ends the
    // operation with the silent abort.
    [[noreturn]] void refuse(const QString& message, QWidget* field = nullptr);

private:
    db::Dataset* checked_ = nullptr;
    data::TDataModule1* checkedModule_ = nullptr;
    std::function<void(db::Dataset&)> previousBeforePost_;
    std::function<void(db::Dataset&)> previousAfterPost_;
};

}  // namespace masters
