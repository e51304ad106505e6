#include "masters/Company.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "masters/rules.h"
#include "ui/action.h"

TfrmCompany* frmCompany = nullptr;

QStringList TfrmCompany::fieldColumns() {
    return {QStringLiteral("会社名"),          QStringLiteral("郵便番号"),
            QStringLiteral("住所1"),           QStringLiteral("住所2"),
            QStringLiteral("電話番号"),        QStringLiteral("FAX番号"),
            QStringLiteral("担当部課"),        QStringLiteral("担当者名"),
            QStringLiteral("E_MAILアドレス"),  QStringLiteral("締日"),
            QStringLiteral("日替時刻"),        QStringLiteral("休日指定日"),
            QStringLiteral("法定外休日指定日")};
}

TfrmCompany::TfrmCompany(QWidget* parent)
    : masters::MasterForm(QStringLiteral("frmCompany"), QStringLiteral("frmCompany"), parent) {
    if (!frmCompany) frmCompany = this;
    db::DataSource* source = &data::dataModule().DSCompany;

    auto* root = new QVBoxLayout(this);
    root->addWidget(titlePanel(this, QStringLiteral("Panel1"), QStringLiteral("会社情報")));
    auto* g = new QGridLayout;
    const QStringList columns = fieldColumns();
    for (int i = 0; i < columns.size(); ++i) {
        const QString& c = columns[i];
        // The name and the addresses are typed in hiragana, the rest as is.
        const bool kana = c == QStringLiteral("会社名") || c == QStringLiteral("住所1") || c == QStringLiteral("住所2");
        ui::DBEdit* e =
            gridEdit(this, g, i, i + 1, source, c, c, kana ? masters::ImeMode::Hira : masters::ImeMode::Default);
        if (c == QStringLiteral("締日")) closingDay_ = e;
    }
    g->setColumnStretch(1, 1);
    root->addLayout(g);
    root->addStretch();

    root->addLayout(bottomBar(source, Editing::ExistingRows, QStringLiteral("btnClose"), DBNavigator1, btnClose));
    setOnExit(closingDay_, [this] { DBEdit10Exit(); });
    resize(520, 480);
}

void TfrmCompany::DBEdit10Exit() {
    db::Dataset& ds = data::dataModule().Company;
    if (!ds.active() || masters::usableClosingDay(ds["締日"].asString())) return;
    refuse(QString::fromUtf8(masters::kClosingDayMessage), closingDay_);
}

TfrmCompany::~TfrmCompany() {
    if (frmCompany == this) frmCompany = nullptr;
}

void TfrmCompany::FormCreate() { setNavigatorCaptions(DBNavigator1, masters::companyNavigatorCaptions()); }

void TfrmCompany::FormShow() {
    data::dataModule().Company.open();
    // Also a post made while the focus is still in the field.
    checkBeforePost(data::dataModule().Company, [this](db::Dataset&) { DBEdit10Exit(); });
}

void TfrmCompany::FormClose(ui::CloseAction&) {
    stopCheckingPosts();
    data::dataModule().Company.close();
}
