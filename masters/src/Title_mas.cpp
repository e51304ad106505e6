#include "masters/Title_mas.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "rtl/qt.h"
#include "ui/action.h"

TfrmTitle_mas* frmTitle_mas = nullptr;

QStringList TfrmTitle_mas::fieldColumns() {
    return {QStringLiteral("CODE"),   QStringLiteral("GKING1"), QStringLiteral("GKING2"), QStringLiteral("GKING3"),
            QStringLiteral("GKING4"), QStringLiteral("GKING5"), QStringLiteral("GKING6"), QStringLiteral("GKING7"),
            QStringLiteral("GKING8"), QStringLiteral("GKINGH"), QStringLiteral("SKING1"), QStringLiteral("SKING2"),
            QStringLiteral("SKING3")};
}

TfrmTitle_mas::TfrmTitle_mas(QWidget* parent)
    : masters::MasterForm(QStringLiteral("frmTitle_mas"), QStringLiteral("タイトルマスタ"), parent) {
    if (!frmTitle_mas) frmTitle_mas = this;
    db::DataSource* source = &data::dataModule().DSQtitle_mas;
    const QStringList columns = fieldColumns();
    const QStringList captions = {QStringLiteral("認識コード"), QStringLiteral("手当１"), QStringLiteral("手当２"),
                                  QStringLiteral("手当３"),     QStringLiteral("手当４"), QStringLiteral("手当５"),
                                  QStringLiteral("手当６"),     QStringLiteral("手当７"), QStringLiteral("手当８"),
                                  QStringLiteral("補助費"),     QStringLiteral("控除１"), QStringLiteral("控除２"),
                                  QStringLiteral("控除３")};

    auto* root = new QVBoxLayout(this);
    root->addWidget(titlePanel(this, QStringLiteral("Panel1"), QStringLiteral("手当・控除　名称変更")));
    auto* g = new QGridLayout;
    for (int i = 0; i < columns.size(); ++i) {
        ui::DBEdit* e = gridEdit(this, g, i, i + 1, source, columns[i], captions[i]);
        QString side;
        if (i >= 1 && i <= 6) side = QStringLiteral("税＋");
        else if (i == 7 || i == 8) side = QStringLiteral("税 -");
        else if (i == 9) side = QStringLiteral("支給対象外");
        if (!side.isEmpty()) g->addWidget(note(this, QStringLiteral("LabelNote%1").arg(i + 1), side), i, 2);
        if (i >= 1) setOnExit(e, [this, n = i + 1] { captionFieldExit(n); });
    }
    g->setColumnStretch(1, 1);
    root->addLayout(g);
    // Two notes of the design that are never shown.
    for (const auto& [name, text] : {std::pair{"LabelRed1", "ソルネの既製品を使用する場合"},
                                     std::pair{"LabelRed2", "手当５、手当６は使用できません。"}}) {
        QLabel* red = note(this, QString::fromLatin1(name), QString::fromUtf8(text));
        red->setStyleSheet(QStringLiteral("color: red;"));
        red->setVisible(false);
        root->addWidget(red);
    }
    root->addStretch();

    root->addLayout(bottomBar(source, Editing::ExistingRows, QStringLiteral("btnClose"), DBNavigator1, btnClose));
    resize(420, 480);
}

TfrmTitle_mas::~TfrmTitle_mas() {
    if (frmTitle_mas == this) frmTitle_mas = nullptr;
}

void TfrmTitle_mas::captionFieldExit(int editNo) {
    db::Dataset& ds = data::dataModule().Qtitle_mas;
    if (!ds.active() || (ds.isEmpty() && ds.state() == db::DatasetState::Browse)) return;
    db::Field& f = ds.fieldByName(rtl::fromQString(fieldColumns()[editNo - 1]));
    if (f.isNull() || !f.asString().empty()) return;
    if (ds.state() == db::DatasetState::Browse) ds.edit();
    f.clear();
}

void TfrmTitle_mas::FormCreate() { setNavigatorCaptions(DBNavigator1, masters::captionsNavigatorCaptions()); }

void TfrmTitle_mas::Qtitle_masBeforePost(db::Dataset& ds) {
    const QStringList columns = fieldColumns();
    for (int i = 1; i < columns.size(); ++i) {
        db::Field& f = ds.fieldByName(rtl::fromQString(columns[i]));
        if (!f.isNull() && f.asString().empty()) f.clear();
    }
}

void TfrmTitle_mas::FormShow() {
    db::Dataset& ds = data::dataModule().Qtitle_mas;
    ds.open();
    checkBeforePost(ds, [this](db::Dataset& d) { Qtitle_masBeforePost(d); });
}

void TfrmTitle_mas::FormClose(ui::CloseAction&) {
    stopCheckingPosts();
    data::dataModule().Qtitle_mas.close();
}
