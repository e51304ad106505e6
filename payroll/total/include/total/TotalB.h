// The bonus record "賞与データ": one pay record per employee for one bonus
// payment, with its base, standard bonus, insurance, tax and net bonus.
#pragma once

#include "total/payform.h"

class TfrmTotalB : public TPayForm {
    Q_OBJECT
public:
    // `dm` defaults to the program's data module.
    explicit TfrmTotalB(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);

    void Act_KingSetExecute();
    void Act_GetKExecute();
    void Act_GetK2Execute();
    void Act_TotalExecute();
    void btnKingCalcClick();
    void btnNotZeiClick();
    void btnAllSetClick();
    void btnNewSetClick();
    void DBEdit2Exit();

protected:
    void FormCreate() override;
    void FormClose(ui::CloseAction& action) override;

private:
    // Loads the employee's values and takes their work category.
    void loadEmployee();
};
