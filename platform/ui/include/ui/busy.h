// The busy state of a long job: a panel shown and painted at once and an
// hourglass on the given controls, both undone on every way out of the
// scope (errors and the silent abort included).
#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <vector>

namespace ui {

class BusyScope {
public:
    // panel may be null; cursorOn lists the controls that show the hourglass.
    explicit BusyScope(QWidget* panel, std::initializer_list<QWidget*> cursorOn = {});
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    struct Saved {
        QPointer<QWidget> widget;
        bool hadCursor;
        QCursor cursor;
    };
    QPointer<QWidget> panel_;
    bool panelWasVisible_ = false;
    std::vector<Saved> saved_;
};

// How far a long job has come: the work done and the work in all. Answers
// false once the user has pressed Cancel; the job should then stop.
using JobProgress = std::function<bool(long long done, long long total)>;

// Runs `job` on the user-interface thread while the program shows that it
// works: the wait cursor over the whole program from now until the job
// ends, however it ends (errors and the silent abort included); and, once
// the job has run longer than progressDialogDelay(), the modal progress
// dialog "dlgProgress" (caption `caption`, text `label`, a bar and the
// button "キャンセル"). Between the job's progress calls the window is
// repainted, and while the dialog shows, Cancel can be pressed, at most
// every 50 ms so that the job keeps its speed. Errors of the job propagate
// after the cursor and the dialog are gone.
void runLongJob(QWidget* parent, const QString& caption, const QString& label,
                const std::function<void(const JobProgress&)>& job);

// One second; tests shorten it so that the dialog shows at once.
std::chrono::milliseconds progressDialogDelay();
void setProgressDialogDelay(std::chrono::milliseconds delay);

}  // namespace ui
