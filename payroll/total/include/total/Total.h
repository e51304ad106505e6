// The monthly pay record "給与データ": the month's pay records one per
// employee, completed by hand or by the batch, with the deduction slip of
// the current row.
#pragma once

#include <QPointer>

#include "total/payform.h"

#include "total/Mainus.h"

class TfrmTotal : public TPayForm {
    Q_OBJECT
public:
    // `dm` defaults to the program's data module.
    explicit TfrmTotal(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);

    // ---- actions and handlers ----
    void Act_KingSetExecute();
    void Act_KingSet2Execute();
    void Act_GetKExecute();
    void Act_GetK2Execute();
    void Act_TotalExecute();
    void btnKingCalcClick();
    void btnNotZeiClick();
    void btnAllSetClick();
    void btnNewSetClick();
    void Button1Click();
    void DBEdit2Change();
    void DBEdit2Exit();
    void DBEdit7Enter();

    // The deduction slip while it is open (and until this window is next activated).
    TfrmMainus* frmMainus() const { return frmMainus_; }

protected:
    void FormCreate() override;
    void FormShow() override;
    void FormActivate() override;
    void FormClose(ui::CloseAction& action) override;
    void FormDestroy() override;

private:
    void kingSet(bool keepBase);
    QPointer<TfrmMainus> frmMainus_;
    db::Dataset::Bookmark lastRow_ = -1;
    int observer_ = 0;
};
