#include "app/DlgAboutBox.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QStyle>
#include <QVBoxLayout>

#include "app/shell.h"
#include "ui/action.h"
#include "ui/fonts.h"
#include "ui/guard.h"

namespace {

QLabel* linkLabel(const QString& name, const QString& url, const QString& text, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setText(
        QStringLiteral("<a href=\"%1\" style=\"color: navy;\">%2</a>").arg(url.toHtmlEscaped(), text.toHtmlEscaped()));
    label->setToolTip(url);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    QObject::connect(label, &QLabel::linkActivated, label, [](const QString& link) {
        ui::guard([&] {  // the result is not looked at
            if (link == TDlgAboutBox::mainUrl()) app::openHelpPage();
            else app::openDocument(link);
        });
    });
    return label;
}

}  // namespace

TDlgAboutBox::TDlgAboutBox(QWidget* parent) : ui::Form(QStringLiteral("DlgAboutBox"), parent) {
    setWindowFlag(Qt::Window);
    setWindowFlag(Qt::Dialog);
    setWindowTitle(QStringLiteral("バージョン情報"));
    setFont(ui::defaultFont());
    setKeyPreview(true);

    auto* Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFrameShape(QFrame::StyledPanel);
    Panel1->setFrameShadow(QFrame::Sunken);

    auto* ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(32, 32));
    ProgramIcon->setAlignment(Qt::AlignTop | Qt::AlignHCenter);

    ProductName = new QLabel(productName(), Panel1);
    ProductName->setObjectName(QStringLiteral("ProductName"));
    Version = new QLabel(versionNumber(), Panel1);
    Version->setObjectName(QStringLiteral("Version"));
    Copyright = new QLabel(maker(), Panel1);
    Copyright->setObjectName(QStringLiteral("Copyright"));
    Comments = new QLabel(QStringLiteral("正社員はもちろんパート、アルバイトの\n給与管理を手軽に行えます。"), Panel1);
    Comments->setObjectName(QStringLiteral("Comments"));
    MainURL = linkLabel(QStringLiteral("MainURL"), mainUrl(), QStringLiteral("Tallyra2.htm（ヘルプ）"), Panel1);
    TaxURL = linkLabel(QStringLiteral("TaxURL"), taxRateUrl(), QStringLiteral("国税庁 源泉徴収税額表"), Panel1);

    auto* rows = new QGridLayout;
    rows->setHorizontalSpacing(12);
    int row = 0;
    auto addRow = [&](const QString& caption, QLabel* value) {
        auto* label = new QLabel(caption, Panel1);
        label->setBuddy(value);
        value->setAccessibleName(caption);
        rows->addWidget(label, row, 0, Qt::AlignTop);
        rows->addWidget(value, row, 1, Qt::AlignTop);
        ++row;
    };
    addRow(QStringLiteral("プロダクト名"), ProductName);
    addRow(QStringLiteral("バージョン番号"), Version);
    addRow(QStringLiteral("著作権表記"), Copyright);
    addRow(QStringLiteral("コメント"), Comments);
    addRow(QStringLiteral("メインURL"), MainURL);
    addRow(QStringLiteral("税率更新"), TaxURL);
    rows->setColumnStretch(1, 1);

    auto* panelLayout = new QHBoxLayout(Panel1);
    panelLayout->addWidget(ProgramIcon, 0, Qt::AlignTop);
    panelLayout->addLayout(rows, 1);

    OKButton = new ui::Button(QStringLiteral("OKButton"), QStringLiteral("OK"), this);
    OKButton->setOnClick([this] { close(); });

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Panel1);
    layout->addLayout(buttons);

    setFixedSize(QSize(380, 250).expandedTo(sizeHint()));
}

void TDlgAboutBox::FormShow() {
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = geometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
    OKButton->setFocus();
}
