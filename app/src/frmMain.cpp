#include "app/frmMain.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/maindata.h"
#include "app/settingsfile.h"
#include "app/shell.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "data/queries.h"
#include "maintenance/SysSet.h"
#include "masters/Sys_mas.h"
#include "masters/rules.h"
#include "period/keys.h"
#include "period/payperiod.h"
#include "rtl/clock.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/dialogs.h"
#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/maskedit.h"

TfrmMain* frmMain = nullptr;

namespace {

std::string str(const QLineEdit* edit) { return rtl::fromQString(edit->text()); }

}  // namespace

// Enabling a button that follows an action goes through the action, so the
// button does not take the old state back at the action's next change.
void TfrmMain::setEnabledOf(ui::Button* button, bool on) {
    if (ui::Action* a = button->action()) a->setEnabled(on);
    button->setEnabled(on);
}

TfrmMain::TfrmMain(QWidget* parent, app::RegionalStore* formats)
    : ui::Form(QStringLiteral("frmMain"), parent), formats_(formats) {
    if (!formats_) {
        ownFormats_ = std::make_unique<app::FileRegionalStore>();
        formats_ = ownFormats_.get();
    }
    setWindowTitle(QStringLiteral("Tallyra計算"));
    setFont(ui::defaultFont());
    setEnterMovesFocus(true);
    resize(516, 419);

    buildActions();
    buildTopPanel();
    buildPages();
    buildBottomAndMenu();

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->setMenuBar(MainMenu1);
    layout->addWidget(Panel2);
    layout->addWidget(PageControl1, 1);
    layout->addWidget(Panel3);

    if (!frmMain) {
        frmMain = this;
        // Closing the settings window sets the recorder controls for the
        // kind chosen there, as the start-up does, for every kind.
        masters::setRecorderKindHandler([this](const std::string& recYN) { applyRecorderKind(recYN); });
        // Another database chosen in the settings window: its recorder kind
        // and closing day take effect at once, as at start-up.
        maintenance::setDatabaseSwitchedHandler([this] {
            applyRecorderKind(app::maindata::readRecYN());
            if (!CheckBox2->isChecked()) computeMonthlyPeriod();
        });
    }
}

TfrmMain::~TfrmMain() {
    // A main window that goes away without having been closed still gives
    // the user's formats back.
    if (formatsForced_) {
        app::restoreFormats(*formats_, savedFormats_);
        formatsForced_ = false;
    }
    if (frmMain == this) {
        frmMain = nullptr;
        masters::setRecorderKindHandler({});
        maintenance::setDatabaseSwitchedHandler({});
    }
}

ui::Action* TfrmMain::action(const QString& name) const {
    auto it = actions_.find(name);
    return it == actions_.end() ? nullptr : it->second;
}

ui::Action* TfrmMain::makeAction(const QString& name, const QString& caption, void (TfrmMain::*handler)()) {
    auto* a = new ui::Action(name, caption, this);
    if (handler) a->setHandler([this, handler] { (this->*handler)(); });
    actions_[name] = a;
    return a;
}

// ---------------------------------------------------------------- life

void TfrmMain::FormCreate() {
    savedFormats_ = app::saveAndForceFormats(*formats_);
    formatsForced_ = true;
}

void TfrmMain::FormShow() {
    if (!firstShow_) return;
    firstShow_ = false;
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    ui::guard([this] { runStartupSteps(); });
}

bool TfrmMain::FormCloseQuery() {
    // Closing the main window ends the program: the open sub-windows close
    // first, so none of them loses an unposted change without being asked.
    return app::subWindows().closeAll();
}

void TfrmMain::FormClose(ui::CloseAction& action) {
    (void)action;
    if (formatsForced_) {
        app::restoreFormats(*formats_, savedFormats_);
        formatsForced_ = false;
    }
    emit closedByUser();
}

void TfrmMain::FormDestroy() {}

void TfrmMain::Button3Click() { close(); }

void TfrmMain::runStartupSteps() {
    // 1. The working folder: every working file lies in it.
    const QString dir = QDir::currentPath();
    Edit1->setText(dir);

    // 2. Default months.
    const app::DefaultMonths months = app::defaultMonths(rtl::today());
    EditYY->setText(rtl::toQString(months.year));
    EditMM->setText(rtl::toQString(months.month));
    EditYY2->setText(rtl::toQString(months.bonusYear));
    EditYYS->setText(rtl::toQString(months.rangeFromYear));
    EditMMS->setText(rtl::toQString(months.rangeFromMonth));
    EditYYE->setText(rtl::toQString(months.rangeToYear));
    EditMME->setText(rtl::toQString(months.rangeToMonth));

    // 3. The settings file names the database (a fresh folder gets one).
    const std::string database = app::readOrCreateSettings(dir.toStdString(), app::maindata::createDatabase);
    app::maindata::setWorkingDatabase(database);

    // 4. Schema upgrade.
    action("Act_New_Field")->execute();
    action("Act_minus_dat")->execute();

    // 5. Time-recorder layout.
    applyRecorderKind(app::maindata::readRecYN());

    // 6. Pay period of the default month; monthly mode at start.
    CheckBox2->setChecked(false);
    PanelMon->show();
    PanelDay->hide();
    computeMonthlyPeriod();

    // 7. The one-time re-creation of the withholding table.
    app::maindata::gensenStep(dir.toStdString());

    // 8. Default day range of weekly or daily pay.
    const app::DayRange range = app::defaultDayRange(rtl::today());
    MaskEdit1->setText(rtl::toQString(range.from));
    MaskEdit2->setText(rtl::toQString(range.to));

    startupDone_ = true;
}

void TfrmMain::applyRecorderKind(const std::string& recYN) { applyRecorderLayout(app::recorderLayout(recYN)); }

void TfrmMain::applyRecorderLayout(const app::RecorderLayout& layout) {
    Panel1->setVisible(layout.panel1Shown);
    btnDataSet->setVisible(layout.panel1Shown);
    btnemp_mas->setVisible(layout.panel1Shown);
    btnRec_YN->setAction(action(layout.action == app::RecorderAction::Korbe ? "Act_Korbe" : "Act_Zalton"));
    btnRec_YN->setVisible(layout.recButtonShown);
    setEnabledOf(btnRec_YN, layout.recButtonEnabled && PNL_M2->isEnabled());
    btnZLT1->setVisible(layout.zlt1Shown);
    btnZLT2->setVisible(layout.zlt2Shown);
}

// ---------------------------------------------------------------- working state

QString TfrmMain::workDir() const { return Edit1->text(); }

QString TfrmMain::monthKey() const { return rtl::toQString(period::monthKey(str(EditYY), str(EditMM))); }

QString TfrmMain::bonusKey() const {
    return rtl::toQString(period::bonusKey(str(EditYY2), ComboBox1->currentText().toStdString()));
}

QString TfrmMain::payRecordKey() const {
    return rtl::toQString(period::payRecordKey(str(EditYY), str(EditMM), CheckBox2->isChecked(), str(EditD2)));
}

void TfrmMain::computeMonthlyPeriod() {
    try {
        const std::string closing = app::maindata::readClosingDay();
        // A closing day stored before the company window refused such
        // values: say which field to mend, and where.
        if (!masters::usableClosingDay(closing)) throw rtl::ConversionError(masters::storedClosingDayMessage(closing));
        const period::PayPeriod p = period::monthlyPayPeriod(str(EditYY), str(EditMM), closing);
        EditD1->setText(rtl::toQString(p.first));
        EditD2->setText(rtl::toQString(p.last));
    } catch (...) {
        // No stale period may stay in force once the month cannot be computed.
        EditD1->clear();
        EditD2->clear();
        throw;
    }
}

void TfrmMain::setFieldsFromDayRange() {
    EditD1->setText(MaskEdit1->text());
    EditD2->setText(MaskEdit2->text());
}

void TfrmMain::btnSel1Click() { computeMonthlyPeriod(); }

void TfrmMain::btnSel2Click() { setFieldsFromDayRange(); }

void TfrmMain::btnSel3Click() {
    // The bonus key is built by its readers.
}

void TfrmMain::CheckBox2Click() {
    if (CheckBox2->isChecked()) {
        PanelMon->hide();
        PanelDay->show();
        setFieldsFromDayRange();
    } else {
        PanelMon->show();
        PanelDay->hide();
        computeMonthlyPeriod();
    }
}

// ---------------------------------------------------------------- mode buttons

void TfrmMain::Act_btnKyuyoExecute() {
    action("Act_PNL_M2_Enable")->execute();
    PageControl1->setCurrentWidget(TabSheet7);
}

void TfrmMain::Act_btnShoyoExecute() {
    action("Act_PNL_M2_Disable")->execute();
    PageControl1->setCurrentWidget(TabSheet4);
}

void TfrmMain::Act_btnMasterExecute() {
    action("Act_PNL_M2_Disable")->execute();
    PageControl1->setCurrentWidget(TabSheet5);
}

void TfrmMain::Act_btnNenjiExecute() {
    action("Act_PNL_M2_Disable")->execute();
    PageControl1->setCurrentWidget(TabSheet6);
}

void TfrmMain::Act_PNL_M2_EnableExecute() {
    if (PNL_M2->isEnabled()) return;
    PNL_M2->setEnabled(true);
    for (auto* b : {btnTimeCorder, btnDirectCalc, btnKinmu, btnRec_YN}) setEnabledOf(b, true);
}

void TfrmMain::Act_PNL_M2_DisableExecute() {
    if (!PNL_M2->isEnabled()) return;
    PNL_M2->setEnabled(false);
    for (auto* b : {btnTimeCorder, btnDirectCalc, btnKinmu, btnRec_YN}) setEnabledOf(b, false);
}

void TfrmMain::Act_TimeCardExecute() {
    PageControl1->setCurrentWidget(TabSheet7);
    openWindow("TimeInp");
}

void TfrmMain::Act_KyuyoAllExecute() {
    for (auto* b : {btnTimeInp, btnDayRep, btnTimeRep, btnJ_Meisai, btnCardRep}) b->show();
    PageControl1->setCurrentWidget(TabSheet3);
}

void TfrmMain::Act_Direct_KyuyoExecute() {
    for (auto* b : {btnTimeInp, btnJ_Meisai, btnCardRep}) b->hide();
    for (auto* b : {btnTimeRep, btnDayRep}) b->show();
    PageControl1->setCurrentWidget(TabSheet3);
}

void TfrmMain::Act_ZaltonExecute() { PageControl1->setCurrentWidget(TabSheet2); }

void TfrmMain::Act_KorbeExecute() { PageControl1->setCurrentWidget(TabSheet1); }

// ---------------------------------------------------------------- schema

void TfrmMain::Act_New_FieldExecute() { app::maindata::upgradeSchema(); }

void TfrmMain::Act_minus_datExecute() { app::maindata::ensureMinusDat(); }

void TfrmMain::Act_TankaExecute() { app::maindata::rebuildEmpTanka(); }

void TfrmMain::Act_TranExecute() { app::maindata::rebuildKimuTran(); }

void TfrmMain::Act_Sum_TranExecute() { app::maindata::rebuildSumTran(); }

// ---------------------------------------------------------------- hub

void TfrmMain::Act_FreeExecute() { app::subWindows().freeGroup(EditPName->text()); }

void TfrmMain::openWindow(const QString& windowName) {
    if (!app::subWindows().isConnected(windowName)) return;  // its window is not part of the program yet
    action("Act_Free")->execute();
    EditPName->setText(windowName);
    if (!app::subWindows().createAndPresent(windowName, this)) EditPName->clear();
}

void TfrmMain::openReport(const QString& windowName) {
    // The report's presenter opens its print preview instead of showing it.
    openWindow(windowName);
}

void TfrmMain::openCountedReport(const QStringList& possibleNames, const std::function<long long()>& count,
                                 const QString& emptyMessage, const std::function<QString()>& variant,
                                 const std::function<void()>& beforeCreate) {
    auto& hub = app::subWindows();
    if (std::none_of(possibleNames.begin(), possibleNames.end(), [&](const QString& n) { return hub.isConnected(n); }))
        return;  // its report is not part of the program yet
    action("Act_Free")->execute();
    // The freed group is named no more, whatever happens next.
    EditPName->clear();

    if (count() == 0) {
        ui::showMessage(emptyMessage);
        return;
    }
    const QString name = variant();
    if (beforeCreate) beforeCreate();
    EditPName->setText(name);
    if (!hub.createAndPresent(name, this)) EditPName->clear();
}

void TfrmMain::btnTimeInpClick() { openWindow("TimeInp"); }

void TfrmMain::btnDayRepClick() {
    if (!app::subWindows().isConnected("ClossRep")) return;
    if (ui::askYesNo("日別データを再構築しますか。？", "データ作成")) action("Act_ClossRep")->execute();
    openWindow("ClossRep");
}

void TfrmMain::btnJ_MeisaiClick() {
    const std::string from = str(EditD1), to = str(EditD2);
    openCountedReport(
        {"QR_kinmu"}, [&] { return data::countWorkRecords(data::dataModule(), from, to); },
        "指定月のタイムカードデータが有りません。", [] { return QString("QR_kinmu"); });
}

void TfrmMain::btnKyuyoRepClick() {
    // Weekly or daily pay: the ledgers are keyed as their pay records are.
    const std::string key = payRecordKey().toStdString();
    openCountedReport(
        {"QR_KyuyoRep", "QR_KyuyoRep2"}, [&] { return data::countPayRecords(data::dataModule(), key); },
        "指定月の給与明細データが有りません。",
        [this] { return QString(CheckBox1->isChecked() ? "QR_KyuyoRep2" : "QR_KyuyoRep"); });
}

void TfrmMain::btnK_MeisaiClick() {
    // Weekly or daily pay: the slips are keyed as their pay records are.
    const std::string key = payRecordKey().toStdString();
    openCountedReport(
        {"QR_Kyuyo", "QR_Kyuyo1170"}, [&] { return data::countPaySlipRows(data::dataModule(), key); },
        "指定月の給与明細データがありません。",
        [] { return QString(app::maindata::readPrintLayout() == "1" ? "QR_Kyuyo1170" : "QR_Kyuyo"); });
}

void TfrmMain::btnMainusClick() {
    const std::string key = payRecordKey().toStdString();
    openCountedReport(
        {"QR_Minus"}, [&] { return data::countDeductionSlips(data::dataModule(), key); },
        "指定月の給与明細データがありません。", [] { return QString("QR_Minus"); });
}

void TfrmMain::btnHokenPrtClick() { openReport(CheckBox1->isChecked() ? "QR_HokenRep2" : "QR_HokenRep"); }

void TfrmMain::btnFutoClick() { openWindow("Emp_Prt"); }

void TfrmMain::btnShoyoClick() { openWindow("TotalB"); }

void TfrmMain::btnShoyoRepClick() { openReport(CheckBox1->isChecked() ? "QR_KyuyoRepS2" : "QR_KyuyoRepS"); }

void TfrmMain::btnShoyoPrtClick() {
    auto& hub = app::subWindows();
    if (!hub.isConnected("QR_KyuyoS") && !hub.isConnected("QR_KyuyoS1170")) return;
    const bool preprinted = app::maindata::readPrintLayout() == "1";
    openReport(preprinted ? "QR_KyuyoS1170" : "QR_KyuyoS");
}

void TfrmMain::btnHokenSPrtClick() { openReport(CheckBox1->isChecked() ? "QR_HokenRepS2" : "QR_HokenRepS"); }

void TfrmMain::btnTitleClick() { openWindow("Title_mas"); }

void TfrmMain::btnSys_masClick() { openWindow("Sys_mas"); }

void TfrmMain::btnPackClick() {
    if (!app::subWindows().isConnected("DB_Pack")) return;
    // The file must be free for compaction; the next dataset reconnects.
    closeWorkingConnection();
    openWindow("DB_Pack");
}

void TfrmMain::closeWorkingConnection() {
    // Closing the connection closes every dataset, also those under open
    // windows: a change typed there would be gone without a word.
    for (QWidget* window : QApplication::topLevelWidgets())
        if (!window->parentWidget() && !ui::settleUnpostedChanges(window)) rtl::abortSilently();
    app::maindata::closeWorkingConnection();
}

void TfrmMain::startSibling(const QString& program) {
    closeWorkingConnection();
    app::startProgram(program);  // a program that is missing fails silently
}

void TfrmMain::Button2Click() { startSibling("Velmora"); }

void TfrmMain::btnTaishokuClick() { startSibling("Trondish"); }

void TfrmMain::btnPelquinClick() { startSibling("Pelquin"); }

void TfrmMain::btnGensen1Click() { openWindow("GensenInp"); }

void TfrmMain::btnGensen2Click() { openWindow("GensenInp2"); }

void TfrmMain::Button4Click() { openReport("QR_KyuyoRepN"); }

void TfrmMain::Button11Click() { openWindow("NenCopy"); }

void TfrmMain::Contents1Click() {
    app::openHelpPage();  // the result is not looked at
}

void TfrmMain::About1Click() { openWindow("AboutBox"); }
