// The two small calculation dialogs of the pay windows: hours and minutes of
// one time kind into minutes and amount ("時間計算"), and a count times a
// unit price into one allowance or deduction ("勤務回数"). Each writes into
// the pay-record row it was opened for, found again by its bookmark, even
// when the window has moved to another row meanwhile.
#pragma once

#include "db/dataset.h"
#include "ui/form.h"

class QLineEdit;

namespace ui {
class Button;
}

class TCalcDialog : public ui::Form {
    Q_OBJECT
public:
    // Sets the kind (hidden Edit3) and the unit price (hidden Edit4), notes
    // the current row of `rows` as the one to write, and shows the dialog
    // without blocking.
    void openFor(const QString& kind, long long price, db::Dataset& rows);

    void btnOKClick();
    void btnNotClick();

    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    ui::Button* btnOK = nullptr;
    ui::Button* btnNot = nullptr;

protected:
    TCalcDialog(const QString& name, const QString& caption, QWidget* parent);
    void FormCreate() override;
    // Writes the result for kind `kind` into the target row (in edit mode).
    virtual void write(db::Dataset& rows, const QString& kind, long long price) = 0;
    virtual void resetEdits();

private:
    db::Dataset* rows_ = nullptr;
    db::Dataset::Bookmark target_ = 0;
};

class TDlgCalcTime : public TCalcDialog {
    Q_OBJECT
public:
    explicit TDlgCalcTime(QWidget* parent = nullptr);
    QLineEdit* Edit2 = nullptr;

protected:
    void FormCreate() override;
    void write(db::Dataset& rows, const QString& kind, long long price) override;
    void resetEdits() override;
};

class TDlgCalcCount : public TCalcDialog {
    Q_OBJECT
public:
    explicit TDlgCalcCount(QWidget* parent = nullptr);

protected:
    void write(db::Dataset& rows, const QString& kind, long long price) override;
};
