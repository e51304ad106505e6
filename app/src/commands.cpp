#include "app/commands.h"

#include <QLineEdit>
#include <QPointer>

#include <vector>

#include "app/DlgAboutBox.h"
#include "app/frmMain.h"
#include "app/shell.h"
#include "app/subwindows.h"
#include "data/DB_Acs.h"
#include "importprompts/importprompts.h"
#include "maintenance/registration.h"
#include "masters/Emp_Seek.h"
#include "masters/registration.h"
#include "paydata/register.h"
#include "reports/ClossRep.h"
#include "reports/MKyuyoRep.h"
#include "reports/forms.h"
#include "reports/register.h"
#include "rtl/qt.h"
#include "timecard/register.h"
#include "total/register.h"
#include "ui/action.h"
#include "yearend/register.h"

namespace app {

void registerSubWindows() {
    SubWindows& hub = subWindows();
    hub.registerForm("DlgAboutBox", [](QWidget* owner) -> QObject* { return ui::createForm<TDlgAboutBox>(owner); });
    for (const auto& form : masters::masterForms()) hub.registerForm(form.formName, form.create);
    for (const auto& form : maintenance::maintenanceForms()) hub.registerForm(form.formName, form.create);
    timecard::registerWindows(
        [&hub](const QString& name, timecard::FormFactory create) { hub.registerForm(name, std::move(create)); });
    paydata::registerWindows(
        [&hub](const QString& name, paydata::FormFactory create) { hub.registerForm(name, std::move(create)); });
    total::registerWindows(
        [&hub](const QString& name, total::FormFactory create) { hub.registerForm(name, std::move(create)); });
    reports::registerWindows(
        [&hub](const QString& name, reports::FormFactory create) { hub.registerForm(name, std::move(create)); });
    yearend::registerWindows(
        [&hub](const QString& name, yearend::FormFactory create) { hub.registerForm(name, std::move(create)); });

    // Report forms: the hub opens their print preview, never the form itself.
    for (const auto& form : reports::reportForms())
        hub.registerReport(form.formName, form.create,
                           [](QObject* f) { static_cast<reports::ReportForm*>(f)->Preview(); });
    // The cross-table screen prints through the report form created with it.
    hub.registerForm("frmClossRep", [](QWidget* owner) -> QObject* {
        auto* screen = ui::createForm<TfrmClossRep>(owner);
        screen->setPrintPreview([] {
            if (auto* form = qobject_cast<reports::ReportForm*>(subWindows().reference("frmQR_Closs"))) form->Preview();
        });
        return screen;
    });

    // The open-window names and groups they belong to are in app/subwindows.cpp.
}

void connectCommands(TfrmMain& main) {
    // Time-recorder imports: each replaces the punches and then enables the
    // punch buttons by what it left in タイムカード.
    main.action("Act_NewSet")->setHandler([&main] {
        payroll::Act_NewSetExecute(*data::DataModule1, payroll::importPrompts(&main));
    });
    main.action("Act_CopyZalton")->setHandler([&main] {
        payroll::Act_CopyZaltonExecute(*data::DataModule1, payroll::importPrompts(&main));
    });
    main.action("ActCopyZalton2")->setHandler([&main] {
        payroll::ActCopyZalton2Execute(*data::DataModule1, payroll::importPrompts(&main));
    });

    // The daily cross table of the pay month.
    main.action("Act_ClossRep")->setHandler([&main] { reports::Act_ClossRepExecute(main.monthKey().toStdString()); });
    // The wage ledger opens the workbook it saved with the desktop's handler.
    reports::setDocumentOpener([](const QString& path) { return app::openDocument(path); });

    // The year's withholding data over the range of the page "年次処理".
    main.action("Act_Nenji")->setHandler([&main] {
        yearend::Act_NenjiExecute(*data::DataModule1,
                                  {rtl::fromQString(main.EditYYS->text()), rtl::fromQString(main.EditMMS->text()),
                                   rtl::fromQString(main.EditYYE->text()), rtl::fromQString(main.EditMME->text())},
                                  &main);
    });
}

namespace {
std::vector<QPointer<QObject>>& startupObjects() {
    static std::vector<QPointer<QObject>> objects;
    return objects;
}
}  // namespace

void createStartupObjects() {
    // In this order, each freed at the end.
    startupObjects().push_back(masters::createEmpSeek());
    startupObjects().push_back(paydata::createDlgOutTime());
    startupObjects().push_back(paydata::createDlgInTime());
}

void destroyStartupObjects() {
    auto& objects = startupObjects();
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) delete it->data();
    objects.clear();
}

}  // namespace app
