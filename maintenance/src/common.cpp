#include "common.h"

#include <QDir>
#include <QLineEdit>

#include "ui/action.h"
#include "ui/windows.h"

namespace maintenance {

QString mainWorkDir() {
    if (auto* edit = ui::childOf<QLineEdit>(QStringLiteral("frmMain"), QStringLiteral("Edit1"))) return edit->text();
    return QDir::currentPath();
}

bool runMainAction(const QString& name) {
    QWidget* main = ui::topLevelWindow(QStringLiteral("frmMain"));
    if (!main) return false;
    auto* action = main->findChild<ui::Action*>(name);
    if (!action) return false;
    action->execute();
    return true;
}

QString lines(std::initializer_list<QString> parts) {
    QStringList kept;
    for (const QString& p : parts)
        if (!p.isEmpty()) kept << p;
    return kept.join(QLatin1Char('\n'));
}

QString reasonOf(const std::exception& e) { return QString::fromUtf8(e.what()); }

}  // namespace maintenance
