#include "masters/Emp_mas.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "rtl/errors.h"
#include "ui/action.h"
#include "ui/dbgrid.h"

TfrmEmp_mas* frmEmp_mas = nullptr;

namespace {
data::TDataModule1& dm() { return data::dataModule(); }
}  // namespace

TfrmEmp_mas::TfrmEmp_mas(QWidget* parent)
    : masters::MasterForm(QStringLiteral("frmEmp_mas"), QStringLiteral("社員マスタ"), parent) {
    if (!frmEmp_mas) frmEmp_mas = this;
    db::DataSource* source = &dm().DSemp_mas;

    auto* root = new QVBoxLayout(this);
    auto* middle = new QHBoxLayout;
    DBGrid1 = new ui::DBGrid(QStringLiteral("DBGrid1"), this);
    DBGrid1->setColumns({{"NO", QStringLiteral("NO"), 50, true, true, false},
                         {"社員番号", QStringLiteral("社員番号"), 80, true, true, false},
                         {"氏名", QStringLiteral("氏名"), 130, true, true, false}});
    DBGrid1->setReadOnly(true);
    DBGrid1->setRowSelect(true);
    DBGrid1->setDataSource(source);
    DBGrid1->setMinimumWidth(290);
    DBGrid1->setAccessibleName(QStringLiteral("社員一覧"));
    middle->addWidget(DBGrid1);

    auto* fields = new QWidget(this);
    fields->setObjectName(QStringLiteral("Panel1"));
    auto* g = new QGridLayout(fields);
    const struct {
        const char* field;
        masters::ImeMode ime;
    } columns[] = {{"NO", masters::ImeMode::Close},   {"社員番号", masters::ImeMode::Close},
                   {"氏名", masters::ImeMode::Hira},  {"カード番号", masters::ImeMode::Close},
                   {"区分", masters::ImeMode::Close}, {"対象", masters::ImeMode::Close}};
    int r = 0;
    for (const auto& c : columns) {
        const QString field = QString::fromUtf8(c.field);
        gridEdit(fields, g, r, r + 1, source, field, field, c.ime);
        ++r;
    }
    g->setRowStretch(r, 1);
    middle->addWidget(fields, 1);
    root->addLayout(middle, 1);

    root->addLayout(bottomBar(source, Editing::Rows, QStringLiteral("Button1"), DBNavigator1, Button1));
    resize(620, 360);
}

TfrmEmp_mas::~TfrmEmp_mas() {
    if (frmEmp_mas == this) frmEmp_mas = nullptr;
}

void TfrmEmp_mas::FormCreate() { setNavigatorCaptions(DBNavigator1, masters::standardNavigatorCaptions()); }

void TfrmEmp_mas::FormShow() { dm().emp_mas.open(); }

void TfrmEmp_mas::FormClose(ui::CloseAction&) { dm().emp_mas.close(); }
