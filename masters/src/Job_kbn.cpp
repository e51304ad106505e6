#include "masters/Job_kbn.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "masters/rules.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/dbgrid.h"
#include "ui/dialogs.h"

TfrmJob_kbn* frmJob_kbn = nullptr;

namespace {
data::TDataModule1& dm() { return data::dataModule(); }
}  // namespace

QStringList TfrmJob_kbn::fieldColumns() {
    return {QStringLiteral("区分"),
            QStringLiteral("就業開始時刻"),
            QStringLiteral("就業終了時刻"),
            QStringLiteral("遅刻早退開始時刻"),
            QStringLiteral("遅刻早退終了時刻"),
            QStringLiteral("休憩1開始時刻"),
            QStringLiteral("休憩1終了時刻"),
            QStringLiteral("休憩2開始時刻"),
            QStringLiteral("休憩2終了時刻"),
            QStringLiteral("休憩3開始時刻"),
            QStringLiteral("休憩3終了時刻"),
            QStringLiteral("早出開始時刻"),
            QStringLiteral("早出終了時刻"),
            QStringLiteral("残業開始時刻"),
            QStringLiteral("残業終了時刻"),
            QStringLiteral("深夜開始時刻"),
            QStringLiteral("深夜終了時刻"),
            QStringLiteral("丸め方法"),
            QStringLiteral("就業丸め単位"),
            QStringLiteral("遅早丸め単位"),
            QStringLiteral("残業丸め単位"),
            QStringLiteral("残業基準時数")};
}

TfrmJob_kbn::TfrmJob_kbn(QWidget* parent)
    : masters::MasterForm(QStringLiteral("frmJob_kbn"), QStringLiteral("区分マスタ"), parent) {
    if (!frmJob_kbn) frmJob_kbn = this;
    db::DataSource* source = &dm().DSJob_kbn;
    const QStringList columns = fieldColumns();

    auto* root = new QVBoxLayout(this);
    auto* middle = new QHBoxLayout;
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({{"区分", QStringLiteral("区分"), 40, true, true, false},
                         {"就業開始時刻", QStringLiteral("就業開始時刻"), 90, true, true, false},
                         {"就業終了時刻", QStringLiteral("就業終了時刻"), 90, true, true, false},
                         {"残業基準時数", QStringLiteral("残業基準時数"), 90, true, true, false},
                         {"丸め方法", QStringLiteral("丸め方法"), 70, true, true, false},
                         {"就業丸め単位", QStringLiteral("就業丸め単位"), 90, true, true, false}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataSource(source);
    DBGrid1->setAccessibleName(QStringLiteral("区分一覧"));
    middle->addWidget(DBGrid1, 1);

    auto* panel = new QWidget(this);
    panel->setObjectName(QStringLiteral("Panel1"));
    auto* g = new QGridLayout(panel);
    g->setVerticalSpacing(3);
    auto edit = [&](int n) {
        ui::DBEdit* e =
            dbEdit(panel, QStringLiteral("DBEdit%1").arg(n), source, columns[n - 1], masters::ImeMode::Close);
        e->setMaximumWidth(70);
        edits[n] = e;
        return e;
    };
    int row = 0;
    g->addWidget(label(panel, QStringLiteral("Label1"), QStringLiteral("区分"), edit(1)), row, 0);
    g->addWidget(edits[1], row++, 1);
    const char* windows[] = {"就業時刻",  "遅刻早退時刻", "休憩1時刻", "休憩2時刻",
                             "休憩3時刻", "早出時刻",     "残業時刻",  "深夜時刻"};
    for (int w = 0; w < 8; ++w) {
        const int from = 2 + 2 * w;
        g->addWidget(label(panel, QStringLiteral("Label%1").arg(from), QString::fromUtf8(windows[w]), edit(from)), row,
                     0);
        g->addWidget(edits[from], row, 1);
        g->addWidget(note(panel, QStringLiteral("LabelTo%1").arg(w + 1), QStringLiteral("～")), row, 2);
        g->addWidget(edit(from + 1), row++, 3);
        edits[from + 1]->setAccessibleName(QString::fromUtf8(windows[w]) + QStringLiteral("（終了）"));
    }
    g->addWidget(label(panel, QStringLiteral("Label18"), QStringLiteral("丸め方法"), edit(18)), row, 0);
    g->addWidget(edits[18], row++, 1);
    const char* units[] = {"就業丸め単位", "遅早丸め単位", "残業丸め単位"};
    for (int u = 0; u < 3; ++u) {
        g->addWidget(label(panel, QStringLiteral("Label%1").arg(19 + u), QString::fromUtf8(units[u]), edit(19 + u)),
                     row, 0);
        g->addWidget(edits[19 + u], row++, 1);
    }
    g->addWidget(label(panel, QStringLiteral("Label22"), QStringLiteral("残業基準時数"), edit(22)), row, 0);
    g->addWidget(edits[22], row++, 1);
    g->setRowStretch(row, 1);
    middle->addWidget(panel);
    root->addLayout(middle, 1);

    root->addLayout(bottomBar(source, Editing::Rows, QStringLiteral("btnClose"), DBNavigator1, btnClose));

    setOnExit(edits[1], [this] { DBEdit1Exit(); });
    for (int n = 2; n <= 17; ++n) setOnExit(edits[n], [this, n] { timeFieldExit(n); });
    setOnExit(edits[18], [this] { DBEdit18Exit(); });
    for (int n = 19; n <= 21; ++n) setOnExit(edits[n], [this, n] { unitFieldExit(n); });
    setOnExit(edits[22], [this] { timeFieldExit(22); });
    resize(900, 560);
}

TfrmJob_kbn::~TfrmJob_kbn() {
    if (frmJob_kbn == this) frmJob_kbn = nullptr;
}

void TfrmJob_kbn::applyRule(db::Dataset& ds, int editNo) {
    std::optional<std::string> (*rule)(std::string_view) = nullptr;
    if (editNo == 1) rule = masters::categoryCodeRule;
    // The overtime base hours (DBEdit22) are a time like the others.
    else if ((editNo >= 2 && editNo <= 17) || editNo == 22) rule = masters::clockTimeRule;
    else if (editNo >= 19 && editNo <= 21) rule = masters::roundingUnitRule;
    if (!rule || !ds.active()) return;
    db::Field& f = ds.fieldByName(rtl::fromQString(fieldColumns()[editNo - 1]));
    const std::string text = f.asString();
    const std::optional<std::string> kept = rule(text);
    if (!kept) refuse(QString::fromUtf8(masters::kCheckDataMessage), edits[editNo]);
    if (*kept != text) {
        if (ds.state() == db::DatasetState::Browse) ds.edit();
        f.setAsString(*kept);
    }
}

void TfrmJob_kbn::DBEdit1Exit() { applyRule(dm().Job_kbn, 1); }

void TfrmJob_kbn::timeFieldExit(int editNo) { applyRule(dm().Job_kbn, editNo); }

void TfrmJob_kbn::unitFieldExit(int editNo) { applyRule(dm().Job_kbn, editNo); }

void TfrmJob_kbn::Job_kbnBeforePost(db::Dataset& ds) {
    // The field with the focus first: a refusal elsewhere moves the focus
    // out of it, which would check it again and show the message twice.
    int focused = 0;
    for (int n = 1; n <= 22; ++n)
        if (edits[n] && edits[n] == activeControl()) focused = n;
    if (focused) applyRule(ds, focused);
    for (int n = 1; n <= 22; ++n)
        if (n != focused) applyRule(ds, n);
}

void TfrmJob_kbn::FormCreate() { setNavigatorCaptions(DBNavigator1, masters::standardNavigatorCaptions()); }

void TfrmJob_kbn::FormShow() {
    dm().Job_kbn.open();
    checkBeforePost(dm().Job_kbn, [this](db::Dataset& d) { Job_kbnBeforePost(d); });
}

void TfrmJob_kbn::FormClose(ui::CloseAction&) {
    stopCheckingPosts();
    dm().Job_kbn.close();
}
