#include "masters/Company.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "ui/action.h"

TfrmCompany* frmCompany = nullptr;

QStringList TfrmCompany::fieldColumns()
{
    return {QStringLiteral("会社名"),   QStringLiteral("郵便番号"),       QStringLiteral("住所1"),
            QStringLiteral("住所2"),    QStringLiteral("電話番号"),       QStringLiteral("FAX番号"),
            QStringLiteral("担当部課"), QStringLiteral("担当者名"),       QStringLiteral("E_MAILアドレス"),
            QStringLiteral("締日"),     QStringLiteral("日替時刻"),       QStringLiteral("休日指定日"),
            QStringLiteral("法定外休日指定日")};
}

TfrmCompany::TfrmCompany(QWidget* parent)
    : masters::MasterForm(QStringLiteral("frmCompany"), QStringLiteral("frmCompany"), parent)
{
    if (!frmCompany) frmCompany = this;
    db::DataSource* source = &data::dataModule().DSCompany;

    auto* root = new QVBoxLayout(this);
    root->addWidget(titlePanel(this, QStringLiteral("Panel1"), QStringLiteral("会社情報")));
    auto* g = new QGridLayout;
    const QStringList columns = fieldColumns();
    for (int i = 0; i < columns.size(); ++i) {
        const QString& c = columns[i];
        // The name and the addresses are typed in hiragana, the rest as is.
        const bool kana = c == QStringLiteral("会社名") || c == QStringLiteral("住所1") ||
                          c == QStringLiteral("住所2");
        gridEdit(this, g, i, i + 1, source, c, c, kana ? masters::ImeMode::Hira : masters::ImeMode::Default);
    }
    g->setColumnStretch(1, 1);
    root->addLayout(g);
    root->addStretch();

    root->addLayout(bottomBar(source, Editing::ExistingRows, QStringLiteral("btnClose"), DBNavigator1, btnClose));
    resize(520, 480);
}

TfrmCompany::~TfrmCompany()
{
    if (frmCompany == this) frmCompany = nullptr;
}

void TfrmCompany::FormCreate()
{
    setNavigatorCaptions(DBNavigator1, masters::companyNavigatorCaptions());
}

void TfrmCompany::FormShow() { data::dataModule().Company.open(); }

void TfrmCompany::FormClose(ui::CloseAction&) { data::dataModule().Company.close(); }
