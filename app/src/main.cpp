// The program: the application object, the five objects that live for the
// whole run (main window, data module, employee picker, clock-out and
// clock-in dialogs, in this order), then the message loop until the main
// window closes.
#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>

#include <sys/socket.h>
#include <unistd.h>
#include <csignal>

#include "app/commands.h"
#include "app/frmMain.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "kronvale/kronvale.h"
#include "ui/app.h"
#include "ui/form.h"

namespace {

// Where the Windows program kept its help file. Kept as the application's
// help file setting; the help menu opens Tallyra2.htm of the working folder.
const char* const HelpFile = "C:\\Program Files\\Marvolt\\Tallyra\\Tallyra2.htm";

// The attendance import and recomputation take their interval splits from
// Kronvale; the program binds it by name when it is loaded.
[[gnu::used]] void (*const intervalSplit)(double, double, int32_t*, int32_t*, int32_t*, int32_t*) = &GetFromToDateTime;

// A terminal's Ctrl+C or a logout ends the program the way "終了" does, so
// the user's regional formats are written back: the signal only writes a
// byte, and the event loop quits when it reads it.
int signalPipe[2] = {-1, -1};

void onTerminationSignal(int) {
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalPipe[0], &byte, 1);
}

void quitOnTerminationSignals(QApplication& application) {
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, signalPipe) != 0) return;
    auto* notifier = new QSocketNotifier(signalPipe[1], QSocketNotifier::Read, &application);
    QObject::connect(notifier, &QSocketNotifier::activated, &application, [] {
        char byte;
        [[maybe_unused]] const ssize_t n = ::read(signalPipe[1], &byte, 1);
        QApplication::quit();
    });
    struct sigaction action = {};
    action.sa_handler = onTerminationSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (int sig : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(sig, &action, nullptr);
}

}  // namespace

int main(int argc, char** argv) {
    ui::Application application(argc, argv);
    ui::setAppTitle(QStringLiteral("Tallyra計算"));
    QApplication::setApplicationName(QStringLiteral("Tallyra"));
    QApplication::setApplicationDisplayName(QStringLiteral("Tallyra計算"));
    application.setProperty("helpFile", QString::fromLatin1(HelpFile));
    // The main window's close ends the program, whatever sub-windows are open.
    QApplication::setQuitOnLastWindowClosed(false);
    quitOnTerminationSignals(application);

    auto* mainWindow = ui::createForm<TfrmMain>();
    data::createDataModule1();
    app::createStartupObjects();

    app::registerSubWindows();
    app::connectCommands(*mainWindow);
    QObject::connect(mainWindow, &TfrmMain::closedByUser, &application, &QApplication::quit, Qt::QueuedConnection);

    mainWindow->showModeless();
    const int result = application.exec();

    app::subWindows().freeAll();
    app::destroyStartupObjects();
    data::destroyDataModule1();
    mainWindow->free();
    return result;
}
