// The withholding-slip preparation window "源泉徴収前処理": one employee's
// row of the year's withholding data, its adjustments, the recomputed
// totals, the print margins and the slip.
//
// The bases the totals are computed from are kept apart from the totals: a
// search derives them from the row (each adjusted total less the adjustment
// it was saved with), so searching again and computing again never adds an
// adjustment twice. Every save of the row from this window, by 計算, the
// navigator, a search, a print or the question on close, stores totals
// computed from those bases and the row's adjustments.
#pragma once

#include <string>

#include "ui/form.h"
#include "yearend/slipprep.h"

class QLineEdit;
class QTabWidget;

namespace data {
class TDataModule1;
}
namespace db {
class Dataset;
}
namespace reports {
class ReportForm;
}
namespace ui {
class Button;
class ComboBox;
class DBEdit;
class DBNavigator;
}  // namespace ui

class TfrmGensenInp : public ui::Form {
    Q_OBJECT
public:
    // `dm` defaults to the program's data module.
    explicit TfrmGensenInp(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);
    ~TfrmGensenInp() override;

    // The open-window names of the two modes.
    static QString modeSlip();       // "GensenInp"
    static QString modeSlip2();      // "GensenInp2"
    static QString searchFirst();    // "データ検索を行って下さい。"
    static QString buttonCaption();  // "ボタン実行"

    // ---- handlers ----
    void Edit1Exit();
    void btnGoClick();
    void btnSeekClick();
    void btnCalcClick();
    void Button3Click();
    void btnPrtClick();
    void Button4Click();
    void Button1Click() {}

    // The margins as the window holds them now.
    yearend::Margins margins() const;
    // The slip report btnPrt previews: the one the hub created with this
    // window, else one of this window's own.
    reports::ReportForm* slipReport();

    // ---- controls ----
    QLineEdit* Edit1 = nullptr;
    ui::Button* btnGo = nullptr;
    ui::Button* btnSeek = nullptr;
    ui::Button* Button1 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QTabWidget* PageControl1 = nullptr;
    ui::DBEdit* DBEdit1 = nullptr;   // dcode
    ui::DBEdit* DBEdit2 = nullptr;   // dname
    ui::DBEdit* DBEdit5 = nullptr;   // fct_code
    ui::DBEdit* DBEdit7 = nullptr;   // kinmu
    ui::DBEdit* DBEdit8 = nullptr;   // mid_kinmu
    ui::DBEdit* DBEdit10 = nullptr;  // total_1
    ui::DBEdit* DBEdit11 = nullptr;  // ken_ho
    ui::DBEdit* DBEdit12 = nullptr;  // koyo_ho
    ui::DBEdit* DBEdit13 = nullptr;  // gensen_z
    ui::DBEdit* DBEdit14 = nullptr;  // koyo_sho
    ui::DBEdit* DBEdit24 = nullptr;  // jyumin_z
    ui::DBEdit* DBEdit15 = nullptr;  // total_s
    ui::DBEdit* DBEdit16 = nullptr;  // kotu_hi
    ui::DBEdit* DBEdit17 = nullptr;  // meat_back
    ui::DBEdit* DBEdit18 = nullptr;  // sub1
    ui::DBEdit* DBEdit19 = nullptr;  // total_t
    ui::DBEdit* DBEdit20 = nullptr;  // teate1
    ui::DBEdit* DBEdit21 = nullptr;  // teate2
    ui::DBEdit* DBEdit22 = nullptr;  // teate3
    ui::DBEdit* DBEdit23 = nullptr;  // teate4
    ui::DBEdit* DBEdit25 = nullptr;  // teate5
    ui::DBNavigator* DBNavigator1 = nullptr;
    ui::Button* btnCalc = nullptr;
    ui::Button* Button3 = nullptr;
    ui::Button* btnPrt = nullptr;
    ui::Button* btnPrt_Pub = nullptr;
    ui::Button* btnPrt_old = nullptr;
    ui::ComboBox* ComboBox1 = nullptr;
    QLineEdit* Edit_Prt1 = nullptr;
    ui::ComboBox* ComboBox2 = nullptr;
    QLineEdit* Edit_Prt2 = nullptr;
    ui::Button* Button4 = nullptr;
    QLineEdit* Edit_chk = nullptr;
    // The bases ED_total_1 .. ED_meat_back and the adjustments the row was
    // saved with, ED_teate1 .. ED_teate5 (hidden).
    QLineEdit* ED_total_1 = nullptr;
    QLineEdit* ED_ken_ho = nullptr;
    QLineEdit* ED_koyo_ho = nullptr;
    QLineEdit* ED_koyo_sho = nullptr;
    QLineEdit* ED_gensen_z = nullptr;
    QLineEdit* ED_jyumin_z = nullptr;
    QLineEdit* ED_kotu_hi = nullptr;
    QLineEdit* ED_meat_back = nullptr;
    QLineEdit* ED_teate[5] = {};

protected:
    void FormShow() override;
    void FormClose(ui::CloseAction& action) override;
    void FormKeyDown(int& key, Qt::KeyboardModifiers modifiers) override;

private:
    db::Dataset& gensen() const;
    std::string workDir() const;
    // Computes the current row's totals into its fields (the row in edit
    // mode); the bases are taken from the row on the first computation
    // after a search.
    void computeRow(db::Dataset& row);
    void saveMargins();
    void refuse(const QString& text);  // the message, then the silent abort
    bool isNumericEdit(QWidget* w) const;

    data::TDataModule1& dm_;
    bool computing_ = false;
};

// The hub's window object.
extern TfrmGensenInp* frmGensenInp;
