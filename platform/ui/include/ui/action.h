// Actions (Act_*): a named command with a caption, run from buttons, menu
// items and other handlers. Linked buttons take the caption, enabled and
// visible state of their action.
#pragma once

#include <QAction>
#include <QPushButton>

#include <functional>

namespace ui {

class Action : public QAction {
    Q_OBJECT
public:
    Action(const QString& name, const QString& caption, QObject* parent, std::function<void()> handler = {});

    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    bool hasHandler() const { return static_cast<bool>(handler_); }

    // Runs the handler from code. Errors and the silent abort go to the
    // caller (inside a handler: to that handler's guard), as a direct call would.
    void execute();

    QString caption() const { return text(); }
    void setCaption(const QString& caption) { setText(caption); }

private:
    std::function<void()> handler_;
};

// A push button that never fires on Enter by itself (the form's key
// preview moves the focus instead), with an optional linked action and a
// guarded click handler.
//
// A linked button takes each of the action's properties (caption, hint,
// enabled, visible) when it is linked and again whenever that property of
// the action changes; a change of another property leaves the button alone,
// so a button disabled or hidden by code stays so until its action's own
// state changes.
class Button : public QPushButton {
    Q_OBJECT
public:
    explicit Button(const QString& name, const QString& caption = {}, QWidget* parent = nullptr);

    // Links the button to an action: caption, hint, enabled and visible follow
    // the action from now on; a click executes it. nullptr unlinks.
    void setAction(Action* action);
    Action* action() const { return action_; }

    // Handler of the user's click (and of click() from code); replaces the action's.
    void setOnClick(std::function<void()> handler) { onClick_ = std::move(handler); }

private:
    void syncFromAction(bool linking);
    void fire();

    Action* action_ = nullptr;
    QMetaObject::Connection actionChanged_;
    std::function<void()> onClick_;
    // The action's properties as last applied to the button.
    QString actionText_;
    QString actionToolTip_;
    bool actionEnabled_ = true;
    bool actionVisible_ = true;
};

}  // namespace ui
