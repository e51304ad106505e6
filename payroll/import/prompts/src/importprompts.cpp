#include "importprompts/importprompts.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>

#include "mainlink/mainlink.h"
#include "ui/busy.h"
#include "ui/dialogs.h"

namespace payroll {

std::optional<LoginAnswer> askRecorderLogin(QWidget* parent, const LoginRequest& request) {
    QDialog box(parent);
    box.setObjectName("dlgRecorderLogin");
    box.setWindowTitle(QStringLiteral("データベース ログイン"));
    box.setModal(true);

    auto* database = new QLabel(QFileInfo(QString::fromStdString(request.file)).fileName(), &box);
    database->setObjectName("DatabaseName");
    auto* user = new QLineEdit(QString::fromStdString(request.userName), &box);
    user->setObjectName("EditUserName");
    auto* password = new QLineEdit(&box);
    password->setObjectName("EditPassword");
    password->setEchoMode(QLineEdit::Password);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("データベース:"), database);
    form->addRow(QStringLiteral("ユーザー名(&U):"), user);
    form->addRow(QStringLiteral("パスワード(&P):"), password);

    auto* buttons = new QDialogButtonBox(&box);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName("OKBtn");
    ok->setDefault(true);
    QPushButton* cancel = buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
    cancel->setObjectName("CancelBtn");
    QObject::connect(buttons, &QDialogButtonBox::accepted, &box, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &box, &QDialog::reject);

    auto* layout = new QVBoxLayout(&box);
    layout->addLayout(form);
    layout->addWidget(buttons);
    // The password is what one types first; the user name is usually right.
    password->setFocus();

    if (box.exec() != QDialog::Accepted) return std::nullopt;
    return LoginAnswer{user->text().toStdString(), password->text().toStdString()};
}

ImportPrompts importPrompts(QWidget* owner, std::function<void(bool)> setPunchButtons) {
    QPointer<QWidget> window(owner);
    ImportPrompts p;
    p.chooseFile = [window](const FileDialogSetup& dialog) {
        return ui::openFileName(window, QStringLiteral("開く"), {}, QString::fromStdString(qtFileFilter(dialog.filter)))
            .toStdString();
    };
    p.login = [window](const LoginRequest& request) { return askRecorderLogin(window, request); };
    p.runImport = [window](const ImportPrompts::Import& import) {
        ui::runLongJob(window, QStringLiteral("タイムカード取込"), QStringLiteral("タイムカードを取り込んでいます..."),
                       import);
    };
    if (setPunchButtons) {
        p.setPunchButtons = std::move(setPunchButtons);
    } else {
        p.setPunchButtons = [window](bool on) { mainlink::setPunchButtons(window.data(), on); };
    }
    return p;
}

}  // namespace payroll
