#include "ui/action.h"

#include "ui/guard.h"

namespace ui {

Action::Action(const QString& name, const QString& caption, QObject* parent,
               std::function<void()> handler)
    : QAction(caption, parent), handler_(std::move(handler)) {
    setObjectName(name);
    // Menu items and shortcuts arrive through triggered(); run them guarded.
    connect(this, &QAction::triggered, this, [this] { guard([this] { execute(); }); });
}

void Action::execute() {
    if (handler_) handler_();
}

Button::Button(const QString& name, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent) {
    setObjectName(name);
    setAutoDefault(false);
    setDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { guard([this] { fire(); }); });
}

void Button::setAction(Action* action) {
    if (actionChanged_) disconnect(actionChanged_);
    action_ = action;
    if (action_) {
        actionVisible_ = true;
        actionChanged_ = connect(action_, &QAction::changed, this, [this] { syncFromAction(); });
        connect(action_, &QObject::destroyed, this, [this] { action_ = nullptr; });
        syncFromAction();
    }
}

void Button::syncFromAction() {
    if (!action_) return;
    setText(action_->text());
    setToolTip(action_->toolTip() == action_->text() ? QString() : action_->toolTip());
    setEnabled(action_->isEnabled());
    // Visibility follows the action only when the action's own visibility
    // changes, so a caption change never re-shows a button hidden by code.
    if (action_->isVisible() != actionVisible_) {
        actionVisible_ = action_->isVisible();
        setVisible(actionVisible_);
    }
}

void Button::fire() {
    if (onClick_) onClick_();
    else if (action_) action_->execute();
}

}  // namespace ui
