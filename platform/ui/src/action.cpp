#include "ui/action.h"

#include "ui/guard.h"

namespace ui {

Action::Action(const QString& name, const QString& caption, QObject* parent, std::function<void()> handler)
    : QAction(caption, parent), handler_(std::move(handler)) {
    setObjectName(name);
    // Menu items and shortcuts arrive through triggered(); run them guarded.
    connect(this, &QAction::triggered, this, [this] { guard([this] { execute(); }); });
}

void Action::execute() {
    if (handler_) handler_();
}

Button::Button(const QString& name, const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
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
        actionChanged_ = connect(action_, &QAction::changed, this, [this] { syncFromAction(false); });
        connect(action_, &QObject::destroyed, this, [this] { action_ = nullptr; });
        syncFromAction(true);
    }
}

void Button::syncFromAction(bool linking) {
    if (!action_) return;
    const QString text = action_->text();
    if (linking || text != actionText_) {
        actionText_ = text;
        setText(text);
    }
    const QString hint = action_->toolTip() == text ? QString() : action_->toolTip();
    if (linking || hint != actionToolTip_) {
        actionToolTip_ = hint;
        setToolTip(hint);
    }
    if (linking || action_->isEnabled() != actionEnabled_) {
        actionEnabled_ = action_->isEnabled();
        setEnabled(actionEnabled_);
    }
    // Linking hides the button of a hidden action but never shows one that
    // code has hidden.
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
