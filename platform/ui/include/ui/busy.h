// The busy state of a long job: a panel shown and painted at once and an
// hourglass on the given controls, both undone on every way out of the
// scope (errors and the silent abort included).
#pragma once

#include <QCursor>
#include <QPointer>
#include <QWidget>

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

}  // namespace ui
