// Forms: a window with create/show/activate/close/destroy steps, key
// preview, modeless or modal showing, closing that only hides, and the
// field handlers that run when the focus enters or leaves a control.
#pragma once

#include <QPointer>
#include <QWidget>

#include <functional>
#include <vector>

class QEventLoop;

namespace ui {

// A control with a check of its own that runs when the focus leaves it,
// before the form's exit handler (a masked edit's completeness, a data
// edit writing its text into the field). Throws to keep the focus.
class ExitValidator {
public:
    virtual ~ExitValidator() = default;
    virtual void validateOnExit() = 0;
};

// What closing a form does (chosen by its close step).
enum class CloseAction { None, Hide, Free, Minimize };

// A check that a form runs before it closes: returns false to keep it open.
using CloseCheck = std::function<bool()>;

class Form : public QWidget {
    Q_OBJECT
public:
    explicit Form(const QString& objectName, QWidget* parent = nullptr);
    ~Form() override;

    // Runs the create step once (guarded). Call after construction, when the
    // controls exist; createForm<T>() does it for you.
    void create();
    bool created() const { return created_; }

    // Shows without blocking, raised and activated.
    void showModeless();
    // Shows application-modal and waits until the form is hidden; returns the
    // modal result (0 when closed without one).
    int showModal();
    bool isModal() const { return modalLoop_ != nullptr; }
    int modalResult() const { return modalResult_; }
    // Sets the result and, when non-zero, closes the form.
    void setModalResult(int result);

    // Runs the destroy step and deletes the form at once / on return to the
    // event loop. A form deleted any other way skips its destroy step.
    void free();
    void release();
    // True once free() or release() has run the destroy step (a released
    // form stays alive until the event loop deletes it).
    bool isFreed() const { return destroyed_; }
    // Forms are numbered as they are constructed, so that of two windows of
    // one object name the newer can be told.
    quint64 creationNumber() const { return creationNumber_; }

    // Key preview: the form sees every key of its controls first (FormKeyDown).
    void setKeyPreview(bool on) { keyPreview_ = on; }
    bool keyPreview() const { return keyPreview_; }
    // The windows' focus idiom in FormKeyDown: Enter and Page Down move to
    // the next control in tab order, Page Up to the previous (wrapping);
    // the key is consumed, so no button fires. Turns key preview on.
    void setEnterMovesFocus(bool on);
    bool enterMovesFocus() const { return enterMovesFocus_; }

    // Field handlers. The exit handler runs whenever the focus is about to
    // leave the control (Tab, a mouse press on another control, the key
    // preview's moves, moveFocusTo); when it throws (the silent abort after
    // its message, or any error, which is shown) the focus stays.
    void setOnEnter(QWidget* control, std::function<void()> handler);
    void setOnExit(QWidget* control, std::function<void()> handler);

    // Focus moves made by code; they run the exit handler first. Return
    // false when the exit handler refused (the focus stays).
    bool moveFocusTo(QWidget* target);
    bool focusNext();
    bool focusPrevious();
    // The control that Tab order puts after (or before) `from`, wrapping.
    QWidget* nextInTabOrder(QWidget* from, bool forward = true) const;
    // The control of this form that has the focus (an editor inside a
    // grid counts as the grid).
    QWidget* activeControl() const;

    // Checks run on close before the close step; the data-aware controls
    // add the unposted-change question of their data sources automatically.
    void addCloseCheck(CloseCheck check) { closeChecks_.push_back(std::move(check)); }

    // Runs the exit check of the focused control before a mouse press on
    // `clicked` moves the focus; false when it refused (the press is dropped).
    bool mayClick(QWidget* clicked);

signals:
    void hidden();

protected:
    virtual void FormCreate() {}
    virtual void FormShow() {}
    virtual void FormActivate() {}
    virtual void FormClose(CloseAction& action) { (void)action; }
    // Return false to keep the form open (asked before the close step).
    virtual bool FormCloseQuery() { return true; }
    virtual void FormDestroy() {}
    // Key preview: set key to 0 to consume it. The default implements
    // setEnterMovesFocus.
    virtual void FormKeyDown(int& key, Qt::KeyboardModifiers modifiers);

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct FieldHandlers {
        QPointer<QWidget> control;
        std::function<void()> onEnter;
        std::function<void()> onExit;
    };
    FieldHandlers* handlersOf(QWidget* w);
    FieldHandlers* handlersFor(QWidget* focusWidget);  // walks up to a registered control
    QWidget* controlOf(QWidget* w) const;
    bool isCandidate(QWidget* w) const;
    // Runs the exit handler of `from` for a move to `to`; false = refused.
    bool leaveField(QWidget* from, QWidget* to);
    void onFocusChanged(QWidget* old, QWidget* now);
    bool runCloseChecks();
    bool ownsWidget(QObject* o) const;

    bool created_ = false;
    bool keyPreview_ = false;
    bool enterMovesFocus_ = false;
    int modalResult_ = 0;
    QEventLoop* modalLoop_ = nullptr;
    std::vector<FieldHandlers> fields_;
    std::vector<CloseCheck> closeChecks_;
    // A move whose exit check already ran (so the focus-change fallback skips it).
    QPointer<QWidget> checkedFrom_;
    QPointer<QWidget> checkedTo_;
    bool restoringFocus_ = false;
    bool enteredSinceShow_ = false;
    bool destroyed_ = false;
    quint64 creationNumber_ = 0;
};

namespace detail {
// The data-aware controls install the unposted-change question through this
// hook, so forms need not know the data layer.
using FormCloseHook = bool (*)(Form*);
void setDataCloseHook(FormCloseHook hook);
}  // namespace detail

// Modal results.
inline constexpr int mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7;

// Shows a window without blocking, raised and activated: a form through
// Form::showModeless (so its show steps run), any other widget the same way.
// Does nothing for nullptr.
void showModeless(QWidget* window);

// Constructs a form and runs its create step.
template <class T, class... Args>
T* createForm(Args&&... args) {
    T* form = new T(std::forward<Args>(args)...);
    form->create();
    return form;
}

}  // namespace ui
