#include "app/shell.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace app {

namespace {
ShellHooks& hooks() {
    static ShellHooks h;
    return h;
}
}  // namespace

bool openDocument(const QString& fileOrUrl) {
    QUrl url(fileOrUrl);
    if (url.scheme().isEmpty() || url.scheme().size() == 1)  // a path (or a drive letter)
        url = QUrl::fromLocalFile(QDir::current().absoluteFilePath(fileOrUrl));
    if (hooks().openDocument) return hooks().openDocument(url.toString());
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) return false;
    return QDesktopServices::openUrl(url);
}

bool openHelpPage() {
    const QString name = QString::fromLatin1(HelpPageName);
    if (!QFile::exists(name) && QFile::copy(QStringLiteral(":/help/Tallyra2.htm"), name))
        QFile::setPermissions(name, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    return openDocument(name);
}

QString findProgram(const QString& name) {
    const QString own = QCoreApplication::applicationDirPath();
    QString found = QStandardPaths::findExecutable(name, {own});
    if (found.isEmpty()) found = QStandardPaths::findExecutable(name);
    return found;
}

bool startProgram(const QString& name) {
    const QString path = findProgram(name);
    if (path.isEmpty()) return false;
    if (hooks().startProgram) return hooks().startProgram(path);
    return QProcess::startDetached(path, {});
}

void setShellHooksForTesting(ShellHooks h) { hooks() = std::move(h); }

void resetShellHooks() { hooks() = {}; }

}  // namespace app
