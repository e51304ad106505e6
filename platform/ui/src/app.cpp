#include "ui/app.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "ui/fonts.h"
#include "ui/form.h"
#include "ui/guard.h"

namespace ui {

namespace {
QString& titleStore() {
    static QString title = QStringLiteral("Tallyra計算");
    return title;
}
}  // namespace

QString appTitle() { return titleStore(); }

void setAppTitle(const QString& title) {
    titleStore() = title;
    if (qApp) QApplication::setApplicationDisplayName(title);
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Tallyra"));
    setFont(defaultFont());
    // The program speaks Japanese whatever the desktop's language: Qt's own
    // dialogs (file choice, calendar) too, where its translations are installed.
    QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
    auto* qtText = new QTranslator(this);
    if (qtText->load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        installTranslator(qtText);
}

bool Application::notify(QObject* receiver, QEvent* event) {
    // Not ui::guard: that would make every handler's own guard transparent
    // and let errors unwind through Qt's dispatch up to here.
    try {
        // A press that would take the focus from a field runs the field's exit
        // check first; a refusal drops the press, so the click never happens.
        const QEvent::Type type = event->type();
        if ((type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) && event->spontaneous() &&
            receiver->isWidgetType()) {
            auto* w = static_cast<QWidget*>(receiver);
            if (auto* form = qobject_cast<Form*>(w->window()); form && form->isEnabled())
                if (!form->mayClick(w)) return true;
        }
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportError(std::current_exception());
        return false;
    }
}

}  // namespace ui
