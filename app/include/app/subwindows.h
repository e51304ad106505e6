// The open/free discipline of the windows that the main window opens.
//
// Every sub-window class has one program-wide reference, named after its
// form object ("frmTotal", "DlgAboutBox"). An opener frees the group of
// windows named by the main window's open-window name (EditPName), stores the
// new name, creates each form of its group in order (each becoming the new
// object behind its reference) and shows the first one without blocking, or,
// for a report, opens its print preview. A window that the user closes is
// only hidden and stays alive until the next opener frees it.
//
// Windows and reports are connected to their commands by registering a
// factory under the form object's name (see registerForm / registerReport
// and app/commands.cpp). A command whose first form has no factory yet does
// nothing at all.
#pragma once

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <map>

namespace app {

// Creates a form; `owner` is the main window (forms are separate windows
// owned by it, so they are destroyed with it at the latest).
using FormFactory = std::function<QObject*(QWidget* owner)>;
// Shows a freshly created form: modeless show for a window, the print
// preview for a report form.
using FormPresenter = std::function<void(QObject* form)>;

class SubWindows {
public:
    // The forms freed by an open-window name, in creation order; an unknown
    // name (the empty one included) names nothing.
    static QStringList formsOf(const QString& windowName);
    // Every open-window name the free action knows.
    static QStringList windowNames();

    // A window shown without blocking (ui::Form::showModeless, else show()).
    void registerForm(const QString& formName, FormFactory create);
    // A report form: never shown itself, `preview` opens its print preview.
    void registerReport(const QString& formName, FormFactory create, FormPresenter preview);
    void unregister(const QString& formName);
    bool isRegistered(const QString& formName) const;
    // True when the first form of the group has a factory.
    bool isConnected(const QString& windowName) const;

    // The object behind a form's reference (null before it was created and
    // after it was freed).
    QObject* reference(const QString& formName) const;

    // Frees the forms named by `windowName` (Act_Free). A form still on the
    // screen is closed first, so its close step runs and an unposted change
    // is asked about; when the user keeps it open, nothing is freed and the
    // silent abort ends the calling command.
    void freeGroup(const QString& windowName);
    // Closes every sub-window still on the screen (asking about unposted
    // changes); false when one of them stays open.
    bool closeAll();
    // Creates every registered form of the group in order and presents the
    // first. Returns false when the group's first form has no factory.
    bool createAndPresent(const QString& windowName, QWidget* owner);

    // Frees every form still alive (program end).
    void freeAll();

private:
    struct Entry {
        FormFactory create;
        FormPresenter present;
    };
    std::map<QString, Entry> factories_;
    std::map<QString, QPointer<QObject>> references_;
};

// The program's one instance.
SubWindows& subWindows();

}  // namespace app
