// The main window's components as its design lays them out: actions, the
// top panel, the five pages, the bottom panel and the menu, each with its
// handlers wired. The constructor calls these; the handlers live in frmMain.cpp.
#include "app/frmMain.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include "ui/action.h"
#include "ui/controls.h"
#include "ui/dbcontrols.h"
#include "ui/fonts.h"
#include "ui/guard.h"
#include "ui/maskedit.h"

namespace {

QFrame* makePanel(const QString& name, QWidget* parent) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(name);
    panel->setFrameShape(QFrame::StyledPanel);
    panel->setFrameShadow(QFrame::Raised);
    return panel;
}

QLineEdit* makeEdit(const QString& name, QWidget* parent, int width = 0) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    if (width > 0) edit->setFixedWidth(width);
    return edit;
}

QLabel* plainLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    return label;
}

}  // namespace

void TfrmMain::buildActions() {
    makeAction("Act_Free", {}, &TfrmMain::Act_FreeExecute);
    makeAction("Act_btnKyuyo", "給与計算", &TfrmMain::Act_btnKyuyoExecute);
    makeAction("Act_btnShoyo", "賞与計算", &TfrmMain::Act_btnShoyoExecute);
    makeAction("Act_btnMaster", "マスタ処理", &TfrmMain::Act_btnMasterExecute);
    makeAction("Act_btnNenji", "年次処理", &TfrmMain::Act_btnNenjiExecute);
    makeAction("Act_PNL_M2_Enable", {}, &TfrmMain::Act_PNL_M2_EnableExecute);
    makeAction("Act_PNL_M2_Disable", {}, &TfrmMain::Act_PNL_M2_DisableExecute);
    makeAction("Act_TimeCard", "タイムカード", &TfrmMain::Act_TimeCardExecute);
    makeAction("Act_Direct_Kyuyo", "給与明細作成", &TfrmMain::Act_Direct_KyuyoExecute);
    makeAction("Act_KyuyoAll", "勤務データ入力", &TfrmMain::Act_KyuyoAllExecute);
    makeAction("Act_Zalton", "ザルトン", &TfrmMain::Act_ZaltonExecute);
    makeAction("Act_Korbe", "コルベ", &TfrmMain::Act_KorbeExecute);
    makeAction("Act_New_Field", {}, &TfrmMain::Act_New_FieldExecute);
    makeAction("Act_minus_dat", {}, &TfrmMain::Act_minus_datExecute);
    makeAction("Act_Tanka", {}, &TfrmMain::Act_TankaExecute);
    makeAction("Act_Tran", {}, &TfrmMain::Act_TranExecute);
    makeAction("Act_Sum_Tran", {}, &TfrmMain::Act_Sum_TranExecute);

    // Window openers.
    auto opener = [this](const QString& name, const QString& caption, const QString& window) {
        makeAction(name, caption)->setHandler([this, window] { openWindow(window); });
    };
    opener("Act_MainRep", "一覧表示", "MainRep");
    opener("Act_TimeCardRep", "出勤簿", "TimeInpRep");
    opener("Act_Kyuyo", "給与計算", "Total");
    opener("Act_MKyuyoRep", "個人別台帳印刷", "MKyuyoRep");
    opener("Act_Sys_Set", "ﾃﾞｰﾀﾍﾞｰｽ設定", "SysSet");
    opener("Act_empTanka", "個人別単価", "Emp_Tanka");
    opener("Act_Job_kbn", "区分マスタ", "Job_kbn");
    opener("Act_Company", "会社情報", "Company");
    opener("Act_Emp_mas", "社員マスタ", "Emp_mas");

    // Commands whose work lives with the time-recorder import, the annual
    // withholding data and the daily cross table; their handlers are set
    // where those are built (app/commands.cpp). Until then they do nothing.
    makeAction("Act_NewSet", "新規セット");
    makeAction("Act_CopyZalton", "新規セット");
    makeAction("ActCopyZalton2", "新規セット2");
    makeAction("Act_Nenji", "年次処理");
    makeAction("Act_ClossRep", {});
}

void TfrmMain::buildTopPanel() {
    Panel2 = makePanel("Panel2", this);
    PNL_M1 = makePanel("PNL_M1", Panel2);
    PNL_M2 = makePanel("PNL_M2", Panel2);

    auto button = [this](const QString& name, const QString& actionName, QWidget* parent) {
        auto* b = new ui::Button(name, {}, parent);
        b->setAction(action(actionName));
        b->setMinimumHeight(30);
        return b;
    };
    btnKyuuyo = button("btnKyuuyo", "Act_btnKyuyo", PNL_M1);
    btnShouyo = button("btnShouyo", "Act_btnShoyo", PNL_M1);
    btnMaster = button("btnMaster", "Act_btnMaster", PNL_M1);
    btnNenji = button("btnNenji", "Act_btnNenji", PNL_M1);
    auto* m1 = new QHBoxLayout(PNL_M1);
    m1->setContentsMargins(4, 4, 4, 4);
    for (auto* b : {btnKyuuyo, btnShouyo, btnMaster, btnNenji}) m1->addWidget(b);

    btnTimeCorder = button("btnTimeCorder", "Act_TimeCard", PNL_M2);
    btnDirectCalc = button("btnDirectCalc", "Act_Direct_Kyuyo", PNL_M2);
    btnRec_YN = button("btnRec_YN", "Act_Zalton", PNL_M2);
    btnKinmu = button("btnKinmu", "Act_KyuyoAll", PNL_M2);
    auto* m2 = new QHBoxLayout(PNL_M2);
    m2->setContentsMargins(4, 4, 4, 4);
    for (auto* b : {btnTimeCorder, btnDirectCalc, btnRec_YN, btnKinmu}) m2->addWidget(b);

    // The fields other windows read; never shown.
    EditD1 = makeEdit("EditD1", PNL_M2);
    EditD2 = makeEdit("EditD2", PNL_M2);
    Edit1 = makeEdit("Edit1", PNL_M2);
    EditPName = makeEdit("EditPName", PNL_M2);
    for (auto* e : {EditD1, EditD2, Edit1, EditPName}) {
        e->setAccessibleName(e->objectName());
        e->hide();
    }

    // Disabled at start, until "給与計算" is pressed.
    for (auto* b : {btnTimeCorder, btnDirectCalc, btnRec_YN, btnKinmu}) setEnabledOf(b, false);
    action("Act_Korbe")->setEnabled(false);
    PNL_M2->setEnabled(false);

    auto* top = new QVBoxLayout(Panel2);
    top->setContentsMargins(4, 4, 4, 4);
    top->setSpacing(2);
    top->addWidget(PNL_M1);
    top->addWidget(PNL_M2);
}

void TfrmMain::buildPages() {
    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->tabBar()->hide();  // only the mode buttons switch pages
    PageControl1->setDocumentMode(true);

    auto page = [this](const QString& name, const QString& caption) {
        auto* w = new QWidget(PageControl1);
        w->setObjectName(name);
        PageControl1->addTab(w, caption);
        return w;
    };
    TabSheet1 = page("TabSheet1", "コルビオ");
    TabSheet2 = page("TabSheet2", "ZaltCard");
    TabSheet3 = page("TabSheet3", "給与支給");
    TabSheet4 = page("TabSheet4", "賞与支給");
    TabSheet5 = page("TabSheet5", "マスタ処理");
    TabSheet6 = page("TabSheet6", "年次処理");
    TabSheet7 = page("TabSheet7", QString());

    buildRecorderPages();
    buildPayPage();
    buildBonusPage();
    buildMasterPage();
    buildYearPage();
    PageControl1->setCurrentWidget(TabSheet7);
}

void TfrmMain::buildRecorderPages() {
    // コルビオ: the database copy of the recorder program.
    Panel1 = makePanel("Panel1", TabSheet1);
    auto* l1 = new QGridLayout(Panel1);
    l1->addWidget(plainLabel("コルビオ用メニュー", Panel1), 0, 0, 1, 2);
    btnDataSet = new ui::Button("btnDataSet", {}, Panel1);
    btnDataSet->setAction(action("Act_NewSet"));
    btnemp_mas = new ui::Button("btnemp_mas", {}, Panel1);
    btnemp_mas->setAction(action("Act_Emp_mas"));
    l1->addWidget(plainLabel("タイムカードデータ", Panel1), 1, 0);
    l1->addWidget(btnDataSet, 1, 1);
    l1->addWidget(btnemp_mas, 2, 1);
    Panel1->hide();
    auto* p1 = new QVBoxLayout(TabSheet1);
    p1->addWidget(Panel1);
    p1->addStretch();

    // ZaltCard: the two comma-separated layouts.
    Panel5 = makePanel("Panel5", TabSheet2);
    auto* l5 = new QGridLayout(Panel5);
    l5->addWidget(plainLabel("ZaltCard用メニュー", Panel5), 0, 0, 1, 2);
    btnZLT1 = new ui::Button("btnZLT1", {}, Panel5);
    btnZLT1->setAction(action("Act_CopyZalton"));
    l5->addWidget(plainLabel("タイムカードデータ", Panel5), 1, 0);
    l5->addWidget(btnZLT1, 1, 1);
    btnZLT2 = new ui::Button("btnZLT2", {}, TabSheet2);
    btnZLT2->setAction(action("ActCopyZalton2"));
    Button6 = new ui::Button("Button6", {}, TabSheet2);
    Button6->setAction(action("Act_Emp_mas"));
    Button6->hide();
    auto* p2 = new QGridLayout(TabSheet2);
    p2->addWidget(Panel5, 0, 0);
    p2->addWidget(btnZLT2, 0, 1, Qt::AlignBottom);
    p2->addWidget(Button6, 1, 1);
    p2->setRowStretch(2, 1);
    p2->setColumnStretch(2, 1);
}

void TfrmMain::buildPayPage() {
    QWidget* page = TabSheet3;
    auto button = [page](const QString& name, const QString& caption) {
        auto* b = new ui::Button(name, caption, page);
        b->setMinimumHeight(26);
        return b;
    };
    btnTimeInp = button("btnTimeInp", "タイムカード入力");
    btnTimeRep = button("btnTimeRep", {});
    btnTimeRep->setAction(action("Act_MainRep"));
    btnCardRep = button("btnCardRep", {});
    btnCardRep->setAction(action("Act_TimeCardRep"));
    btnDayRep = button("btnDayRep", "日別一覧");
    btnJ_Meisai = button("btnJ_Meisai", "勤務明細表");
    btnKyuyo = button("btnKyuyo", {});
    btnKyuyo->setAction(action("Act_Kyuyo"));
    btnKyuyoRep = button("btnKyuyoRep", "給与台帳印刷");
    btnK_Meisai = button("btnK_Meisai", "給与明細印刷");
    btnMainus = button("btnMainus", "天引伝票印刷");
    btnHokenPrt = button("btnHokenPrt", "保険台帳印刷");
    btnFuto = button("btnFuto", "封筒宛名印刷");
    btnDaichou = button("btnDaichou", {});
    btnDaichou->setAction(action("Act_MKyuyoRep"));

    btnTimeInp->setOnClick([this] { btnTimeInpClick(); });
    btnDayRep->setOnClick([this] { btnDayRepClick(); });
    btnJ_Meisai->setOnClick([this] { btnJ_MeisaiClick(); });
    btnKyuyoRep->setOnClick([this] { btnKyuyoRepClick(); });
    btnK_Meisai->setOnClick([this] { btnK_MeisaiClick(); });
    btnMainus->setOnClick([this] { btnMainusClick(); });
    btnHokenPrt->setOnClick([this] { btnHokenPrtClick(); });
    btnFuto->setOnClick([this] { btnFutoClick(); });

    CheckBox1 = new QCheckBox("区分印刷", page);
    CheckBox1->setObjectName("CheckBox1");
    CheckBox2 = new QCheckBox("週払 OR 日払", page);
    CheckBox2->setObjectName("CheckBox2");
    ui::onUserClick(CheckBox2, [this] { CheckBox2Click(); });

    // Month panel: the pay month.
    PanelMon = new QGroupBox("支給月度", page);
    PanelMon->setObjectName("PanelMon");
    EditYY = makeEdit("EditYY", PanelMon, 48);
    EditYY->setMaxLength(4);
    EditMM = makeEdit("EditMM", PanelMon, 30);
    EditMM->setMaxLength(2);
    btnSel1 = new ui::Button("btnSel1", "変更", PanelMon);
    btnSel1->setOnClick([this] { btnSel1Click(); });
    auto* mon = new QHBoxLayout(PanelMon);
    mon->addWidget(EditYY);
    mon->addWidget(ui::makeLabel("LabelYY", "年", EditYY, PanelMon));
    mon->addWidget(EditMM);
    mon->addWidget(ui::makeLabel("LabelMM", "月", EditMM, PanelMon));
    mon->addStretch();
    mon->addWidget(btnSel1);
    EditYY->setAccessibleName("支給月度 年");
    EditMM->setAccessibleName("支給月度 月");

    // Day panel: the typed range of weekly or daily pay.
    PanelDay = new QGroupBox("日付範囲", page);
    PanelDay->setObjectName("PanelDay");
    MaskEdit1 = new ui::MaskEdit("MaskEdit1", "!99/99/00;1;_", PanelDay);
    MaskEdit2 = new ui::MaskEdit("MaskEdit2", "!99/99/00;1;_", PanelDay);
    MaskEdit1->setFixedWidth(72);
    MaskEdit2->setFixedWidth(72);
    btnSel2 = new ui::Button("btnSel2", "変更", PanelDay);
    btnSel2->setOnClick([this] { btnSel2Click(); });
    auto* day = new QHBoxLayout(PanelDay);
    day->addWidget(MaskEdit1);
    day->addWidget(ui::makeLabel("LabelRange", "～", MaskEdit2, PanelDay));
    day->addWidget(MaskEdit2);
    day->addStretch();
    day->addWidget(btnSel2);
    MaskEdit1->setAccessibleName("日付範囲 開始");
    MaskEdit2->setAccessibleName("日付範囲 終了");
    PanelDay->hide();

    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    // Left: the work data; middle: pay and its prints; right: the rest.
    ui::Button* left[] = {btnTimeInp, btnTimeRep, btnCardRep, btnDayRep, btnJ_Meisai};
    ui::Button* middle[] = {btnKyuyo, btnKyuyoRep, btnK_Meisai, btnMainus, btnHokenPrt};
    for (int i = 0; i < 5; ++i) {
        grid->addWidget(left[i], i, 0);
        grid->addWidget(middle[i], i, 1);
    }
    grid->addWidget(btnFuto, 0, 2);
    grid->addWidget(btnDaichou, 1, 2);
    grid->addWidget(CheckBox1, 2, 2);
    grid->addWidget(CheckBox2, 3, 2);
    grid->addWidget(PanelMon, 5, 0, 1, 3);
    grid->addWidget(PanelDay, 6, 0, 1, 3);
    grid->setRowStretch(7, 1);
}

void TfrmMain::buildBonusPage() {
    QWidget* page = TabSheet4;
    auto button = [page](const QString& name, const QString& caption, std::function<void()> h) {
        auto* b = new ui::Button(name, caption, page);
        b->setMinimumHeight(26);
        b->setOnClick(std::move(h));
        return b;
    };
    btnShoyo = button("btnShoyo", "賞与台帳", [this] { btnShoyoClick(); });
    btnShoyoRep = button("btnShoyoRep", "賞与台帳印刷", [this] { btnShoyoRepClick(); });
    btnShoyoPrt = button("btnShoyoPrt", "賞与明細印刷", [this] { btnShoyoPrtClick(); });
    btnHokenSPrt = button("btnHokenSPrt", "保険台帳印刷", [this] { btnHokenSPrtClick(); });
    Button7 = button("Button7", "封筒印刷", [this] { btnFutoClick(); });

    PanelShoyo = new QGroupBox(page);
    PanelShoyo->setObjectName("PanelShoyo");
    EditYY2 = makeEdit("EditYY2", PanelShoyo, 48);
    EditYY2->setMaxLength(4);
    ComboBox1 = new ui::ComboBox("ComboBox1", PanelShoyo, false);
    static_cast<ui::ComboBox*>(ComboBox1)->setItems({"1", "2", "3"});
    ComboBox1->setCurrentIndex(0);
    btnSel3 = new ui::Button("btnSel3", "変更", PanelShoyo);
    btnSel3->setOnClick([this] { btnSel3Click(); });
    auto* row = new QHBoxLayout(PanelShoyo);
    row->addWidget(EditYY2);
    row->addWidget(ui::makeLabel("LabelYY2", "年", EditYY2, PanelShoyo));
    row->addSpacing(12);
    row->addWidget(ui::makeLabel("LabelKaisu", "支給回数", ComboBox1, PanelShoyo));
    row->addWidget(ComboBox1);
    row->addWidget(plainLabel("回目", PanelShoyo));
    row->addStretch();
    row->addWidget(btnSel3);
    EditYY2->setAccessibleName("賞与 年");
    ComboBox1->setAccessibleName("支給回数");

    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addWidget(btnShoyo, 0, 0);
    grid->addWidget(btnShoyoRep, 1, 0);
    grid->addWidget(btnShoyoPrt, 2, 0);
    grid->addWidget(btnHokenSPrt, 3, 0);
    grid->addWidget(Button7, 0, 1);
    grid->addWidget(PanelShoyo, 4, 0, 1, 2);
    grid->setRowStretch(5, 1);
}

void TfrmMain::buildMasterPage() {
    QWidget* page = TabSheet5;
    auto button = [this, page](const QString& name, const QString& caption, const QString& actionName,
                               std::function<void()> h) {
        auto* b = new ui::Button(name, caption, page);
        b->setMinimumHeight(26);
        if (!actionName.isEmpty()) b->setAction(action(actionName));
        if (h) b->setOnClick(std::move(h));
        return b;
    };
    btnSysSet = button("btnSysSet", {}, "Act_Sys_Set", {});
    Button1 = button("Button1", {}, "Act_empTanka", {});
    btnKbn = button("btnKbn", {}, "Act_Job_kbn", {});
    Button8 = button("Button8", {}, "Act_Company", {});
    btnTitle = button("btnTitle", "ﾀｲﾄﾙ変更", {}, [this] { btnTitleClick(); });
    btnSys_mas = button("btnSys_mas", "基本設定", {}, [this] { btnSys_masClick(); });
    btnPack = button("btnPack", "最適化", {}, [this] { btnPackClick(); });
    Button2 = button("Button2", "税インポート", {}, [this] { Button2Click(); });
    btnTaishoku = button("btnTaishoku", "退職者処理", {}, [this] { btnTaishokuClick(); });
    btnPelquin = button("btnPelquin", "退職書戻処理", {}, [this] { btnPelquinClick(); });
    btnTaishoku->hide();
    btnPelquin->hide();

    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addWidget(Button1, 0, 0);
    grid->addWidget(btnKbn, 1, 0);
    grid->addWidget(Button8, 2, 0);
    grid->addWidget(btnTitle, 3, 0);
    grid->addWidget(btnSys_mas, 4, 0);
    grid->addWidget(btnSysSet, 0, 1);
    grid->addWidget(btnPack, 1, 1);
    grid->addWidget(Button2, 2, 1);
    grid->addWidget(btnTaishoku, 3, 1);
    grid->addWidget(btnPelquin, 4, 1);
    grid->setRowStretch(5, 1);
}

void TfrmMain::buildYearPage() {
    QWidget* page = TabSheet6;
    auto button = [page](const QString& name, const QString& caption) {
        auto* b = new ui::Button(name, caption, page);
        b->setMinimumHeight(26);
        return b;
    };
    Button9 = button("Button9", {});
    Button9->setAction(action("Act_Nenji"));
    btnGensen1 = button("btnGensen1", "源泉徴収-H27");
    btnGensen1->setOnClick([this] { btnGensen1Click(); });
    btnGensen2 = button("btnGensen2", "源泉徴収 H28-");
    btnGensen2->setOnClick([this] { btnGensen2Click(); });
    Button4 = button("Button4", "年間給与一覧");
    Button4->setOnClick([this] { Button4Click(); });
    Button4->hide();
    Button11 = button("Button11", "データ移行");
    Button11->setOnClick([this] { Button11Click(); });

    // The range of the annual aggregation.
    Panel4 = new QGroupBox("支給範囲", page);
    Panel4->setObjectName("Panel4");
    EditYYS = makeEdit("EditYYS", Panel4, 48);
    EditMMS = makeEdit("EditMMS", Panel4, 30);
    EditYYE = makeEdit("EditYYE", Panel4, 48);
    EditMME = makeEdit("EditMME", Panel4, 30);
    auto* range = new QHBoxLayout(Panel4);
    range->addWidget(EditYYS);
    range->addWidget(ui::makeLabel("LabelYYS", "年", EditYYS, Panel4));
    range->addWidget(EditMMS);
    range->addWidget(ui::makeLabel("LabelMMS", "月", EditMMS, Panel4));
    range->addWidget(plainLabel("～", Panel4));
    range->addWidget(EditYYE);
    range->addWidget(ui::makeLabel("LabelYYE", "年", EditYYE, Panel4));
    range->addWidget(EditMME);
    range->addWidget(ui::makeLabel("LabelMME", "月", EditMME, Panel4));
    range->addStretch();
    EditYYS->setAccessibleName("支給範囲 開始年");
    EditMMS->setAccessibleName("支給範囲 開始月");
    EditYYE->setAccessibleName("支給範囲 終了年");
    EditMME->setAccessibleName("支給範囲 終了月");

    auto* grid = new QGridLayout(page);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    grid->addWidget(Panel4, 0, 0, 1, 2);
    grid->addWidget(Button9, 1, 0);
    grid->addWidget(btnGensen1, 2, 0);
    grid->addWidget(btnGensen2, 3, 0);
    grid->addWidget(Button4, 4, 0);
    grid->addWidget(Button11, 1, 1);
    grid->setRowStretch(5, 1);
}

void TfrmMain::buildBottomAndMenu() {
    Panel3 = makePanel("Panel3", this);
    Button3 = new ui::Button("Button3", "終了", Panel3);
    Button3->setOnClick([this] { Button3Click(); });
    auto* bottom = new QHBoxLayout(Panel3);
    bottom->setContentsMargins(4, 4, 4, 4);
    bottom->addStretch();
    bottom->addWidget(Button3);

    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName("MainMenu1");
    QMenu* help = MainMenu1->addMenu("ヘルプ(&H)");
    help->setObjectName("Help1");
    Contents1 = help->addAction("目次(&C)");
    Contents1->setObjectName("Contents1");
    SearchforHelp1 = help->addAction("トピックの検索(&S)...");
    SearchforHelp1->setObjectName("SearchforHelp1");
    help->addSeparator();
    About1 = help->addAction("バージョン情報(&A)...");
    About1->setObjectName("About1");
    // The menu bar's overflow button, named for screen readers.
    if (auto* more = MainMenu1->findChild<QWidget*>("qt_menubar_ext_button"))
        more->setAccessibleName("その他のメニュー");
    connect(Contents1, &QAction::triggered, this, [this] { ui::guard([this] { Contents1Click(); }); });
    connect(About1, &QAction::triggered, this, [this] { ui::guard([this] { About1Click(); }); });
}
