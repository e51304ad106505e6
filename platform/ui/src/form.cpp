#include "ui/form.h"

#include "ui/app.h"
#include "ui/guard.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCloseEvent>
#include <QEventLoop>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWindow>

namespace ui {

namespace {
detail::FormCloseHook dataCloseHook = nullptr;

// A widget inside an item view's viewport (an in-place editor) belongs to the view.
QAbstractItemView* enclosingView(QWidget* w) {
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (auto* view = qobject_cast<QAbstractItemView*>(p)) return view;
        if (p->isWindow()) break;
    }
    return nullptr;
}

QWidget* viewMapped(QWidget* w) {
    if (QAbstractItemView* view = enclosingView(w)) return view;
    return w;
}
}  // namespace

namespace detail {
void setDataCloseHook(FormCloseHook hook) { dataCloseHook = hook; }
}  // namespace detail

Form::Form(const QString& objectName, QWidget* parent) : QWidget(parent, Qt::Window) {
    static quint64 formsConstructed = 0;
    creationNumber_ = ++formsConstructed;
    setObjectName(objectName);
    setAttribute(Qt::WA_DeleteOnClose, false);
    qApp->installEventFilter(this);
    connect(qApp, &QApplication::focusChanged, this, &Form::onFocusChanged);
}

Form::~Form() {
    // QWidget's destructor still moves the focus; this form's parts are gone by then.
    if (qApp) {
        qApp->removeEventFilter(this);
        disconnect(qApp, nullptr, this, nullptr);
    }
    if (modalLoop_) modalLoop_->quit();
}

void Form::create() {
    if (created_) return;
    created_ = true;
    guard([this] { FormCreate(); });
}

void Form::showModeless() {
    show();
    raise();
    activateWindow();
}

void showModeless(QWidget* window) {
    if (auto* form = qobject_cast<Form*>(window)) {
        form->showModeless();
    } else if (window) {
        window->show();
        window->raise();
        window->activateWindow();
    }
}

int Form::showModal() {
    QPointer<Form> self(this);
    modalResult_ = mrNone;
    if (isVisible()) hide();
    setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    modalLoop_ = &loop;
    showModeless();
    if (isVisible()) loop.exec(QEventLoop::DialogExec);
    if (!self) return mrCancel;
    modalLoop_ = nullptr;
    setWindowModality(Qt::NonModal);
    return modalResult_;
}

void Form::setModalResult(int result) {
    modalResult_ = result;
    if (result != mrNone && modalLoop_) close();
}

void Form::free() {
    if (!destroyed_) {
        destroyed_ = true;
        guard([this] { FormDestroy(); });
    }
    delete this;
}

void Form::release() {
    if (!destroyed_) {
        destroyed_ = true;
        guard([this] { FormDestroy(); });
    }
    deleteLater();
}

void Form::setEnterMovesFocus(bool on) {
    enterMovesFocus_ = on;
    if (on) keyPreview_ = true;
}

void Form::FormKeyDown(int& key, Qt::KeyboardModifiers) {
    if (!enterMovesFocus_) return;
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_PageDown) {
        focusNext();
        key = 0;
    } else if (key == Qt::Key_PageUp) {
        focusPrevious();
        key = 0;
    }
}

// ---- field handlers

Form::FieldHandlers* Form::handlersOf(QWidget* w) {
    if (!w) return nullptr;
    for (auto& f : fields_)
        if (f.control == w) return &f;
    return nullptr;
}

Form::FieldHandlers* Form::handlersFor(QWidget* focusWidget) {
    for (QWidget* p = focusWidget; p && p != this; p = p->parentWidget())
        if (FieldHandlers* h = handlersOf(p)) return h;
    return nullptr;
}

void Form::setOnEnter(QWidget* control, std::function<void()> handler) {
    if (FieldHandlers* h = handlersOf(control)) {
        h->onEnter = std::move(handler);
        return;
    }
    fields_.push_back({control, std::move(handler), {}});
}

void Form::setOnExit(QWidget* control, std::function<void()> handler) {
    if (FieldHandlers* h = handlersOf(control)) {
        h->onExit = std::move(handler);
        return;
    }
    fields_.push_back({control, {}, std::move(handler)});
}

// The control a focus widget stands for: a registered control that
// contains it, the item view of an in-place editor, or itself.
QWidget* Form::controlOf(QWidget* w) const {
    if (!w) return nullptr;
    for (QWidget* p = w; p && p != this; p = p->parentWidget())
        for (const auto& f : fields_)
            if (f.control == p) return p;
    return viewMapped(w);
}

bool Form::ownsWidget(QObject* o) const {
    auto* w = qobject_cast<QWidget*>(o);
    return w && w->window() == this;
}

bool Form::isCandidate(QWidget* w) const {
    return w && w != this && w->window() == this && (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus &&
           w->isEnabled() && w->isVisibleTo(const_cast<Form*>(this)) && !w->focusProxy() && !enclosingView(w);
}

QWidget* Form::nextInTabOrder(QWidget* from, bool forward) const {
    QWidget* start = from ? viewMapped(from) : const_cast<Form*>(this);
    QWidget* w = start;
    for (int step = 0; step < 100000; ++step) {
        w = forward ? w->nextInFocusChain() : w->previousInFocusChain();
        if (!w || w == start) break;
        if (isCandidate(w)) return w;
    }
    return isCandidate(start) ? start : nullptr;
}

QWidget* Form::activeControl() const {
    QWidget* f = QApplication::focusWidget();
    if (!f || f->window() != this) f = focusWidget();
    return f ? viewMapped(f) : nullptr;
}

bool Form::leaveField(QWidget* from, QWidget* to) {
    QWidget* fromControl = controlOf(from);
    if (!fromControl || fromControl == controlOf(to)) return true;
    FieldHandlers* h = handlersOf(fromControl);
    auto* validator = dynamic_cast<ExitValidator*>(fromControl);
    if (!validator) validator = dynamic_cast<ExitValidator*>(from);
    if ((!h || !h->onExit) && !validator) return true;
    std::function<void()> onExit = h ? h->onExit : std::function<void()>();
    const bool ok = guardStrict([&] {
        if (validator) validator->validateOnExit();
        if (onExit) onExit();
    });
    if (!ok && fromControl) {
        QWidget* now = QApplication::focusWidget();
        if (!now || !(now == fromControl || fromControl->isAncestorOf(now))) {
            restoringFocus_ = true;
            fromControl->setFocus(Qt::OtherFocusReason);
            restoringFocus_ = false;
        }
    }
    return ok;
}

bool Form::moveFocusTo(QWidget* target) {
    if (!target) return false;
    QWidget* from = activeControl();
    if (from && controlOf(from) != controlOf(target)) {
        if (!leaveField(from, target)) return false;
        checkedFrom_ = controlOf(from);
        checkedTo_ = controlOf(target);
    }
    target->setFocus(Qt::OtherFocusReason);
    return true;
}

bool Form::focusNext() {
    QWidget* from = activeControl();
    QWidget* to = nextInTabOrder(from, true);
    if (!to) return false;
    if (from && controlOf(from) != controlOf(to)) {
        if (!leaveField(from, to)) return false;
        checkedFrom_ = controlOf(from);
        checkedTo_ = controlOf(to);
    }
    to->setFocus(Qt::TabFocusReason);
    return true;
}

bool Form::focusPrevious() {
    QWidget* from = activeControl();
    QWidget* to = nextInTabOrder(from, false);
    if (!to) return false;
    if (from && controlOf(from) != controlOf(to)) {
        if (!leaveField(from, to)) return false;
        checkedFrom_ = controlOf(from);
        checkedTo_ = controlOf(to);
    }
    to->setFocus(Qt::BacktabFocusReason);
    return true;
}

// The net under the moves this form sees coming: any other focus change
// (a setFocus() from code, a shortcut) still runs the exit handler, and a
// refusal puts the focus back.
void Form::onFocusChanged(QWidget* old, QWidget* now) {
    if (restoringFocus_) return;
    QWidget* oldControl = old && ownsWidget(old) ? controlOf(old) : nullptr;
    QWidget* nowControl = now && ownsWidget(now) ? controlOf(now) : nullptr;
    if (!nowControl) return;  // focus left for another window: no exit
    if (oldControl == nowControl) return;
    const bool prechecked = oldControl && checkedFrom_ == oldControl && checkedTo_ == nowControl;
    checkedFrom_ = nullptr;
    checkedTo_ = nullptr;
    if (oldControl && !prechecked && !leaveField(oldControl, nowControl)) return;
    // Enter runs for moves inside the form and for the first focus after showing,
    // not when the window is merely activated again.
    if (!oldControl && enteredSinceShow_) return;
    enteredSinceShow_ = true;
    if (FieldHandlers* h = handlersOf(nowControl); h && h->onEnter) guardStrict(h->onEnter);
}

// ---- events

bool Form::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::MouseButtonPress && type != QEvent::MouseButtonDblClick)
        return false;
    if (type != QEvent::KeyPress) {
        // Qt gives the focus to the clicked control before any widget-level
        // filter sees the press, so the press is checked where it enters the
        // window: a refused exit swallows it, and the click never happens.
        if (watched != windowHandle() || !isEnabled()) return false;
        auto* me = static_cast<QMouseEvent*>(event);
        // (ui::Application checks every press itself, also those sent to a
        // widget directly, before Qt moves the focus.)
        if (qobject_cast<Application*>(qApp)) return false;
        QWidget* w = childAt(me->position().toPoint());
        return w && !mayClick(w);
    }
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this || !isEnabled()) return false;

    // Key events propagate to parents; act on the first delivery only.
    QWidget* focus = QApplication::focusWidget();
    if (focus ? w != focus : w != this) return false;
    checkedFrom_ = nullptr;
    checkedTo_ = nullptr;
    auto* ke = static_cast<QKeyEvent*>(event);
    if (keyPreview_) {
        int key = ke->key();
        const bool ok = guard([&] { FormKeyDown(key, ke->modifiers()); });
        if (!ok || key == 0) return true;
    }
    const bool tab = ke->key() == Qt::Key_Tab || ke->key() == Qt::Key_Backtab;
    if (tab && !(ke->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
        const bool forward = ke->key() == Qt::Key_Tab && !(ke->modifiers() & Qt::ShiftModifier);
        QWidget* from = activeControl();
        QWidget* to = nextInTabOrder(from, forward);
        if (from && to && controlOf(from) != controlOf(to)) {
            if (!leaveField(from, to)) return true;
            checkedFrom_ = controlOf(from);
            checkedTo_ = controlOf(to);
        }
    }
    return false;
}

bool Form::mayClick(QWidget* w) {
    // The widget that would take the focus by this click.
    checkedFrom_ = nullptr;
    checkedTo_ = nullptr;
    QWidget* target = w;
    while (target && !(target->focusPolicy() & Qt::ClickFocus)) {
        if (target->isWindow()) {
            target = nullptr;
            break;
        }
        target = target->parentWidget();
    }
    if (!target || !target->isEnabled()) return true;
    QWidget* from = activeControl();
    if (from && controlOf(from) != controlOf(target)) {
        if (!leaveField(from, target)) return false;
        checkedFrom_ = controlOf(from);
        checkedTo_ = controlOf(target);
    }
    return true;
}

void Form::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (event->spontaneous()) return;
    enteredSinceShow_ = false;
    guard([this] { FormShow(); });
}

void Form::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    if (event->spontaneous()) return;
    emit hidden();
    if (modalLoop_) modalLoop_->quit();
}

bool Form::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) guard([this] { FormActivate(); });
    return QWidget::event(event);
}

bool Form::runCloseChecks() {
    if (dataCloseHook && !dataCloseHook(this)) return false;
    for (auto& check : closeChecks_) {
        bool ok = false;
        if (!guard([&] { ok = check(); }) || !ok) return false;
    }
    return true;
}

void Form::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (!runCloseChecks()) return;
    bool canClose = true;
    if (!guard([&] { canClose = FormCloseQuery(); }) || !canClose) return;
    CloseAction action = CloseAction::Hide;
    if (!guard([&] { FormClose(action); })) return;
    if (modalLoop_ && modalResult_ == mrNone) modalResult_ = mrCancel;
    switch (action) {
    case CloseAction::None: return;
    case CloseAction::Minimize: showMinimized(); return;
    case CloseAction::Hide: event->accept(); return;
    case CloseAction::Free:
        event->accept();
        release();
        return;
    }
}

}  // namespace ui
