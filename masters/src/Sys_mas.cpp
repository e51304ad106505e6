#include "masters/Sys_mas.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "masters/rules.h"
#include "rtl/qt.h"
#include "ui/action.h"
#include "ui/windows.h"

TfrmSys_mas* frmSys_mas = nullptr;

namespace masters {

namespace {
std::function<void(const std::string&)>& recorderKindHandler() {
    static std::function<void(const std::string&)> handler;
    return handler;
}
}  // namespace

void setRecorderKindHandler(std::function<void(const std::string& recYN)> handler) {
    recorderKindHandler() = std::move(handler);
}

}  // namespace masters

QStringList TfrmSys_mas::fieldColumns() {
    return {QStringLiteral("SYS_CD"),   QStringLiteral("SYS_NM"),    QStringLiteral("REC_YN"),
            QStringLiteral("H_K_TOP"),  QStringLiteral("H_K_END"),   QStringLiteral("HOKEN_P"),
            QStringLiteral("HOKENK_P"), QStringLiteral("KOYO_P"),    QStringLiteral("NENKIN_P"),
            QStringLiteral("KIKIN_P"),  QStringLiteral("HOKEN_P2"),  QStringLiteral("HOKENK_P2"),
            QStringLiteral("KOYO_P2"),  QStringLiteral("NENKIN_P2"), QStringLiteral("KIKIN_P2"),
            QStringLiteral("PRT_FLG")};
}

TfrmSys_mas::TfrmSys_mas(QWidget* parent)
    : masters::MasterForm(QStringLiteral("frmSys_mas"), QStringLiteral("基本設定"), parent) {
    if (!frmSys_mas) frmSys_mas = this;
    db::DataSource* source = &data::dataModule().DSsys_mas;
    const QStringList columns = fieldColumns();
    ui::DBEdit** e = edits_;
    auto edit = [&](int n) {
        e[n] = dbEdit(this, QStringLiteral("DBEdit%1").arg(n), source, columns[n - 1], masters::ImeMode::Close);
        if (n >= 4 && n <= 15) e[n]->setAlignment(Qt::AlignRight);
        e[n]->setFixedWidth(n == 2 ? 200 : 100);
        return e[n];
    };

    auto* root = new QVBoxLayout(this);
    auto* g = new QGridLayout;
    int row = 0;
    edit(1);
    g->addWidget(label(this, QStringLiteral("Label1"), QStringLiteral("ｼｽﾃﾑID"), e[1]), row, 0);
    g->addWidget(e[1], row, 1);
    g->addWidget(edit(2), row++, 2, 1, 2, Qt::AlignLeft);
    e[2]->setAccessibleName(QStringLiteral("ｼｽﾃﾑ名"));
    edit(3);
    g->addWidget(label(this, QStringLiteral("Label2"), QStringLiteral("ﾀｲﾑﾚｺｰﾀﾞ"), e[3]), row, 0);
    g->addWidget(note(this, QStringLiteral("Label3"), QStringLiteral("使用有無")), row + 1, 0);
    g->addWidget(e[3], row, 1);
    g->addWidget(note(this, QStringLiteral("Label4"), QStringLiteral("コルベ→1 /  未使用→0")), row++, 2, 1, 2);
    g->addWidget(
        note(this, QStringLiteral("Label5"), QStringLiteral("ザルトン(ザルト計算)→2 / ザルトン(ザルト勤怠)→3 / ")),
        row++, 2, 1, 2);
    edit(4);
    g->addWidget(label(this, QStringLiteral("Label6"), QStringLiteral("介護始歳"), e[4]), row, 0);
    g->addWidget(e[4], row, 1);
    edit(5);
    g->addWidget(label(this, QStringLiteral("Label7"), QStringLiteral("介護止歳"), e[5]), row, 2);
    g->addWidget(e[5], row++, 3);
    g->addWidget(note(this, QStringLiteral("Label8"), QStringLiteral("個人負担分")), row, 1);
    g->addWidget(note(this, QStringLiteral("Label9"), QStringLiteral("会社負担分")), row, 2);
    g->addWidget(note(this, QStringLiteral("Label10"), QStringLiteral("/1000")), row++, 3);
    const char* rates[] = {"保険料率", "介護料率", "雇用料率", "年金料率", "基金料率"};
    for (int r = 0; r < 5; ++r) {
        edit(6 + r);
        g->addWidget(label(this, QStringLiteral("Label%1").arg(11 + r), QString::fromUtf8(rates[r]), e[6 + r]), row, 0);
        g->addWidget(e[6 + r], row, 1);
        g->addWidget(edit(11 + r), row++, 2);
        e[11 + r]->setAccessibleName(QString::fromUtf8(rates[r]) + QStringLiteral("（会社負担分）"));
    }
    edit(16);
    g->addWidget(label(this, QStringLiteral("Label16"), QStringLiteral("給与明細"), e[16]), row, 0);
    g->addWidget(e[16], row, 1);
    g->addWidget(note(this, QStringLiteral("Label17"), QStringLiteral("ソルネ SF1170 を使用→1　/　白紙4枚付け→0")),
                 row++, 2, 1, 2);
    g->setColumnStretch(4, 1);
    root->addLayout(g);
    root->addStretch();

    root->addLayout(bottomBar(source, Editing::ExistingRows, QStringLiteral("btnClose"), DBNavigator1, btnClose));
    // A value the program cannot use is refused where it is typed.
    setOnExit(e[3], [this] { checkField(3); });
    for (int n = 6; n <= 15; ++n) setOnExit(e[n], [this, n] { checkField(n); });
    resize(600, 420);
}

TfrmSys_mas::~TfrmSys_mas() {
    if (frmSys_mas == this) frmSys_mas = nullptr;
}

void TfrmSys_mas::FormCreate() { setNavigatorCaptions(DBNavigator1, masters::standardNavigatorCaptions()); }

QString TfrmSys_mas::fieldName(int editNo) {
    static const char* const rates[] = {"保険料率", "介護料率", "雇用料率", "年金料率", "基金料率"};
    if (editNo == 3) return QStringLiteral("ﾀｲﾑﾚｺｰﾀﾞ");
    if (editNo >= 6 && editNo <= 15)
        return QString::fromUtf8(rates[(editNo - 6) % 5]) +
               (editNo <= 10 ? QStringLiteral("（個人負担分）") : QStringLiteral("（会社負担分）"));
    return fieldColumns().value(editNo - 1);
}

void TfrmSys_mas::checkField(int editNo) {
    db::Dataset& ds = data::dataModule().sys_mas;
    if (!ds.active()) return;
    db::Field& f = ds.fieldByName(rtl::fromQString(fieldColumns()[editNo - 1]));
    if (editNo == 3 && !masters::knownRecorderKind(f.asString()))
        refuse(QString::fromUtf8(masters::kRecorderKindMessage), edits_[3]);
    if (editNo >= 6 && editNo <= 15 &&
        !masters::usableRate(f.isNull() ? std::nullopt : std::optional<double>(f.asFloat())))
        refuse(rtl::toQString(masters::rateMessage(rtl::fromQString(fieldName(editNo)))), edits_[editNo]);
}

void TfrmSys_mas::sys_masBeforePost() {
    // The field with the focus first, so that its own message shows.
    int focused = 0;
    for (int n = 3; n <= 15; ++n)
        if (edits_[n] && edits_[n] == activeControl()) focused = n;
    if (focused) checkField(focused);
    for (int n = 3; n <= 15; ++n)
        if (n != focused) checkField(n);
}

void TfrmSys_mas::FormShow() {
    data::dataModule().sys_mas.open();
    checkBeforePost(data::dataModule().sys_mas, [this](db::Dataset&) { sys_masBeforePost(); });
}

void TfrmSys_mas::FormClose(ui::CloseAction&) {
    stopCheckingPosts();
    db::Dataset& ds = data::dataModule().sys_mas;
    std::string recYN;
    if (ds.active()) recYN = ds["REC_YN"].asString();
    if (const auto& apply = masters::recorderKindHandler()) apply(recYN);
    ds.close();
}
