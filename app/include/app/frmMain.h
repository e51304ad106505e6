// The main window: the hub from which every other window is opened, and the
// holder of the working state (pay month, bonus key, pay period, working
// folder, open-window name) that the other windows read from it.
//
// Other windows find it as the top-level widget named "frmMain" and its
// fields by their object names ("EditYY", "EditD1", ...), or through the
// global frmMain pointer where they may include this header.
#pragma once

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/regionalformats.h"
#include "app/workstate.h"
#include "ui/form.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QAction;
class QTabWidget;
class QWidget;

namespace ui {
class Action;
class Button;
class ComboBox;
class MaskEdit;
}  // namespace ui

class TfrmMain : public ui::Form {
    Q_OBJECT
public:
    // `formats` is the per-user store of the regional formats (the user's
    // configuration file when null).
    explicit TfrmMain(QWidget* parent = nullptr, app::RegionalStore* formats = nullptr);
    ~TfrmMain() override;

    // ---- working state (read by the other windows) ----
    QString workDir() const;   // Edit1
    QString monthKey() const;  // from EditYY, EditMM
    QString bonusKey() const;  // from EditYY2, ComboBox1
    // The key of the month's pay records: monthKey(), or EditD2 in weekly or daily pay (CheckBox2).
    QString payRecordKey() const;
    bool startupDone() const { return startupDone_; }

    // An action of this window by name ("Act_Free", "Act_Nenji", ...); null when unknown.
    ui::Action* action(const QString& name) const;

    // ---- handlers (named as the windows' designs name them) ----
    void Act_FreeExecute();
    void Act_btnKyuyoExecute();
    void Act_btnShoyoExecute();
    void Act_btnMasterExecute();
    void Act_btnNenjiExecute();
    void Act_PNL_M2_EnableExecute();
    void Act_PNL_M2_DisableExecute();
    void Act_TimeCardExecute();
    void Act_KyuyoAllExecute();
    void Act_Direct_KyuyoExecute();
    void Act_ZaltonExecute();
    void Act_KorbeExecute();
    void Act_New_FieldExecute();
    void Act_minus_datExecute();
    void Act_TankaExecute();
    void Act_TranExecute();
    void Act_Sum_TranExecute();
    void btnSel1Click();
    void btnSel2Click();
    void btnSel3Click();
    void CheckBox2Click();
    void btnTimeInpClick();
    void btnDayRepClick();
    void btnJ_MeisaiClick();
    void btnKyuyoRepClick();
    void btnK_MeisaiClick();
    void btnMainusClick();
    void btnHokenPrtClick();
    void btnFutoClick();
    void btnShoyoClick();
    void btnShoyoRepClick();
    void btnShoyoPrtClick();
    void btnHokenSPrtClick();
    void btnTitleClick();
    void btnSys_masClick();
    void btnPackClick();
    void Button2Click();
    void btnTaishokuClick();
    void btnPelquinClick();
    void btnGensen1Click();
    void btnGensen2Click();
    void Button4Click();
    void Button11Click();
    void Contents1Click();
    void About1Click();
    void Button3Click();

    // The start-up steps of the first show, run by FormShow.
    void runStartupSteps();

    // ---- controls (object names as designed) ----
    QFrame* Panel2 = nullptr;
    QFrame* PNL_M1 = nullptr;
    QFrame* PNL_M2 = nullptr;
    ui::Button* btnKyuuyo = nullptr;
    ui::Button* btnShouyo = nullptr;
    ui::Button* btnMaster = nullptr;
    ui::Button* btnNenji = nullptr;
    ui::Button* btnTimeCorder = nullptr;
    ui::Button* btnDirectCalc = nullptr;
    ui::Button* btnRec_YN = nullptr;
    ui::Button* btnKinmu = nullptr;
    QLineEdit* EditD1 = nullptr;
    QLineEdit* EditD2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* EditPName = nullptr;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabSheet1 = nullptr;
    QWidget* TabSheet2 = nullptr;
    QWidget* TabSheet3 = nullptr;
    QWidget* TabSheet4 = nullptr;
    QWidget* TabSheet5 = nullptr;
    QWidget* TabSheet6 = nullptr;
    QWidget* TabSheet7 = nullptr;

    // TabSheet1 / TabSheet2: time-recorder imports
    QFrame* Panel1 = nullptr;
    ui::Button* btnDataSet = nullptr;
    ui::Button* btnemp_mas = nullptr;
    QFrame* Panel5 = nullptr;
    ui::Button* btnZLT1 = nullptr;
    ui::Button* btnZLT2 = nullptr;
    ui::Button* Button6 = nullptr;

    // TabSheet3 "給与支給"
    ui::Button* btnTimeInp = nullptr;
    ui::Button* btnTimeRep = nullptr;
    ui::Button* btnCardRep = nullptr;
    ui::Button* btnDayRep = nullptr;
    ui::Button* btnJ_Meisai = nullptr;
    ui::Button* btnKyuyo = nullptr;
    ui::Button* btnKyuyoRep = nullptr;
    ui::Button* btnK_Meisai = nullptr;
    ui::Button* btnMainus = nullptr;
    ui::Button* btnHokenPrt = nullptr;
    ui::Button* btnFuto = nullptr;
    ui::Button* btnDaichou = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QGroupBox* PanelMon = nullptr;
    QLineEdit* EditYY = nullptr;
    QLineEdit* EditMM = nullptr;
    ui::Button* btnSel1 = nullptr;
    QGroupBox* PanelDay = nullptr;
    ui::MaskEdit* MaskEdit1 = nullptr;
    ui::MaskEdit* MaskEdit2 = nullptr;
    ui::Button* btnSel2 = nullptr;

    // TabSheet4 "賞与支給"
    ui::Button* btnShoyo = nullptr;
    ui::Button* btnShoyoRep = nullptr;
    ui::Button* btnShoyoPrt = nullptr;
    ui::Button* btnHokenSPrt = nullptr;
    ui::Button* Button7 = nullptr;
    QGroupBox* PanelShoyo = nullptr;
    QLineEdit* EditYY2 = nullptr;
    ui::ComboBox* ComboBox1 = nullptr;
    ui::Button* btnSel3 = nullptr;

    // TabSheet5 "マスタ処理"
    ui::Button* btnSysSet = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* btnKbn = nullptr;
    ui::Button* Button8 = nullptr;
    ui::Button* btnTitle = nullptr;
    ui::Button* btnSys_mas = nullptr;
    ui::Button* btnPack = nullptr;
    ui::Button* Button2 = nullptr;
    ui::Button* btnTaishoku = nullptr;
    ui::Button* btnPelquin = nullptr;

    // TabSheet6 "年次処理"
    ui::Button* Button9 = nullptr;
    ui::Button* btnGensen1 = nullptr;
    ui::Button* btnGensen2 = nullptr;
    ui::Button* Button4 = nullptr;
    ui::Button* Button11 = nullptr;
    QGroupBox* Panel4 = nullptr;
    QLineEdit* EditYYS = nullptr;
    QLineEdit* EditMMS = nullptr;
    QLineEdit* EditYYE = nullptr;
    QLineEdit* EditMME = nullptr;

    // Panel3 and the menu
    QFrame* Panel3 = nullptr;
    ui::Button* Button3 = nullptr;
    QMenuBar* MainMenu1 = nullptr;
    QAction* Contents1 = nullptr;
    QAction* SearchforHelp1 = nullptr;
    QAction* About1 = nullptr;

    // The time-recorder controls for the recorder kind REC_YN, as the
    // start-up step sets them (also after the settings window closes).
    void applyRecorderKind(const std::string& recYN);

signals:
    // The user closed the main window: the program ends.
    void closedByUser();

protected:
    void FormCreate() override;
    void FormShow() override;
    bool FormCloseQuery() override;
    void FormClose(ui::CloseAction& action) override;
    void FormDestroy() override;

private:
    // The layout (frmMainLayout.cpp).
    void buildActions();
    void buildTopPanel();
    void buildPages();
    void buildRecorderPages();
    void buildPayPage();
    void buildBonusPage();
    void buildMasterPage();
    void buildYearPage();
    void buildBottomAndMenu();
    ui::Action* makeAction(const QString& name, const QString& caption, void (TfrmMain::*handler)() = nullptr);
    // Enabling a button that follows an action goes through the action.
    static void setEnabledOf(ui::Button* button, bool on);

    void applyRecorderLayout(const app::RecorderLayout& layout);
    // The monthly period from the company's closing day (btnSel1Click,
    // start-up, weekly/daily mode off).
    void computeMonthlyPeriod();
    void setFieldsFromDayRange();

    // The hub's openers.
    void openWindow(const QString& windowName);
    void openReport(const QString& windowName);
    // Report opener with a count check: no rows (`count` gives 0) shows
    // `emptyMessage`; `variant` chooses the report once rows exist. Returns early without touching anything when the
    // command's report is not connected yet.
    void openCountedReport(const QStringList& possibleNames, const std::function<long long()>& count,
                           const QString& emptyMessage, const std::function<QString()>& variant,
                           const std::function<void()>& beforeCreate = {});
    void startSibling(const QString& program);
    // Closes the working connection once the open windows' unposted changes
    // are saved or dropped as the user answers (Cancel ends the command).
    void closeWorkingConnection();

    app::RegionalStore* formats_ = nullptr;
    std::unique_ptr<app::RegionalStore> ownFormats_;
    app::SavedFormats savedFormats_;
    bool formatsForced_ = false;
    bool startupDone_ = false;
    bool firstShow_ = true;
    std::map<QString, ui::Action*> actions_;
};

// The main window object (the application's main form).
extern TfrmMain* frmMain;
