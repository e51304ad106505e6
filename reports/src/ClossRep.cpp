#include "reports/ClossRep.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include "data/DB_Acs.h"
#include "reports/crosstable.h"
#include "ui/action.h"
#include "ui/fonts.h"

namespace {

constexpr int kNameHeight = 36;
constexpr int kLineHeight = 16;

QLabel* cell(const QString& name, const QString& text, Qt::Alignment align, int height, QWidget* parent) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    l->setAlignment(align | Qt::AlignVCenter);
    l->setFixedHeight(height);
    l->setContentsMargins(1, 0, 2, 0);
    return l;
}

}  // namespace

TfrmClossRep::TfrmClossRep(QWidget* parent, data::TDataModule1* dm)
    : ui::Form(QStringLiteral("frmClossRep"), parent), dm_(data::dataModule(dm)) {
    setWindowTitle(QStringLiteral("日別一覧"));
    setFont(ui::defaultFont());
    resize(833, 653);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    static_cast<QFrame*>(Panel1)->setFrameShape(QFrame::StyledPanel);
    auto* caption = new QLabel(QStringLiteral("日別一覧"), Panel1);
    caption->setObjectName(QStringLiteral("Label1"));
    caption->setFont(ui::designFont(QStringLiteral("ＭＳ Ｐゴシック"), 12));
    LabelMonth = new QLabel(Panel1);
    LabelMonth->setObjectName(QStringLiteral("LabelMonth"));
    Button1 = new ui::Button(QStringLiteral("Button1"), QStringLiteral("閉じる"), Panel1);
    Button2 = new ui::Button(QStringLiteral("Button2"), QStringLiteral("印刷"), Panel1);
    auto* top = new QHBoxLayout(Panel1);
    top->addWidget(caption);
    top->addSpacing(16);
    top->addWidget(LabelMonth);
    top->addStretch();
    top->addWidget(Button2);
    top->addWidget(Button1);

    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setWidgetResizable(false);
    ScrollBox1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    ScrollBox1->horizontalScrollBar()->setTracking(true);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Panel1);
    layout->addWidget(ScrollBox1, 1);

    Button1->setOnClick([this] { Button1Click(); });
    Button2->setOnClick([this] { Button2Click(); });
}

void TfrmClossRep::FormShow() { fill(); }

// The labels and one panel per row, laid out side by side.
void TfrmClossRep::fill() {
    const reports::DayWorkTable table = reports::readDayWork(dm_.ADOConnection1);
    LabelMonth->setText(table.month.empty() ? QString() : QString::fromStdString(table.month) + QStringLiteral(" 分"));

    auto* content = new QWidget;
    content->setObjectName(QStringLiteral("ScrollContent"));
    auto* row = new QHBoxLayout(content);
    row->setContentsMargins(2, 2, 2, 2);
    row->setSpacing(0);

    auto* labels = new QFrame(content);
    labels->setObjectName(QStringLiteral("DayLabels"));
    labels->setFrameShape(QFrame::Box);
    auto* labelColumn = new QVBoxLayout(labels);
    labelColumn->setContentsMargins(0, 0, 0, 0);
    labelColumn->setSpacing(0);
    labelColumn->addWidget(
        cell(QStringLiteral("LabelName"), QStringLiteral("氏名"), Qt::AlignRight, kNameHeight, labels));
    for (int d = 1; d <= 31; ++d)
        labelColumn->addWidget(cell(QStringLiteral("LabelD%1").arg(d), QStringLiteral("%1日").arg(d), Qt::AlignRight,
                                    kLineHeight, labels));
    labelColumn->addStretch();
    labels->setFixedSize(44, PanelHeight);
    row->addWidget(labels);

    DBCtrlGrid1 = new QWidget(content);
    DBCtrlGrid1->setObjectName(QStringLiteral("DBCtrlGrid1"));
    auto* panels = new QHBoxLayout(DBCtrlGrid1);
    panels->setContentsMargins(0, 0, 0, 0);
    panels->setSpacing(0);
    QFont small = ui::designFont(QStringLiteral("ＭＳ Ｐゴシック"), 8);
    for (std::size_t i = 0; i < table.rows.size(); ++i) {
        const reports::DayWorkRow& r = table.rows[i];
        auto* panel = new QFrame(DBCtrlGrid1);
        panel->setObjectName(QStringLiteral("Panel_%1").arg(i + 1));
        panel->setFrameShape(QFrame::Box);
        panel->setFixedSize(PanelWidth, PanelHeight);
        auto* column = new QVBoxLayout(panel);
        column->setContentsMargins(0, 0, 0, 0);
        column->setSpacing(0);
        QLabel* name =
            cell(QStringLiteral("TNAME"), QString::fromStdString(r.name), Qt::AlignHCenter, kNameHeight, panel);
        name->setWordWrap(true);
        name->setFont(small);
        column->addWidget(name);
        for (int d = 1; d <= 31; ++d) {
            QLabel* value =
                cell(QStringLiteral("D%1").arg(d), QString::fromStdString(r.days[static_cast<std::size_t>(d - 1)]),
                     Qt::AlignRight, kLineHeight, panel);
            value->setFont(small);
            column->addWidget(value);
        }
        column->addStretch();
        panels->addWidget(panel);
    }
    // The grid grows with its rows; the area scrolls sideways.
    DBCtrlGrid1->setFixedSize(PanelWidth * static_cast<int>(table.rows.size()), PanelHeight);
    row->addWidget(DBCtrlGrid1);
    row->addStretch();
    content->adjustSize();
    ScrollBox1->setWidget(content);  // the previous content is deleted
}

void TfrmClossRep::Button1Click() { close(); }

void TfrmClossRep::Button2Click() {
    if (preview_) preview_();
}
