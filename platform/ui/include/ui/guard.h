// The handler guard: no C++ exception may cross Qt's event dispatch.
//
// Every handler (button click, action, field check, form step) runs inside
// ui::guard. The silent abort ends the handler and shows nothing; any other
// error is shown in the application's error box (stop icon, application
// title). A guard inside another guard of the same event-loop level lets the
// error pass to the outer one, so a handler that executes an action from
// code is stopped by that action's abort just as a direct call would be.
#pragma once

#include <QObject>

#include <exception>
#include <functional>
#include <type_traits>
#include <utility>

namespace ui {

namespace detail {
// Returns true when an enclosing guard at the current event-loop level will
// catch (so this one must stay transparent). Otherwise pushes a level that
// the matching popGuard() removes.
bool enterGuard();
void leaveGuard();
void reportException(std::exception_ptr error) noexcept;
}  // namespace detail

// Runs f and reports whatever it raises: true when it completed, false when
// it ended by an error or the silent abort (already reported). Catches even
// inside another guard: for steps whose caller must learn of a refusal
// instead of being unwound (field checks on exit).
template <class F>
bool guardStrict(F&& f) noexcept {
    try {
        std::invoke(std::forward<F>(f));
        return true;
    } catch (...) {
        detail::reportException(std::current_exception());
        return false;
    }
}

// Runs f. Returns true when it completed, false when it ended by an error or
// the silent abort (already reported). Never throws at the outermost level.
template <class F>
bool guard(F&& f) {
    if (detail::enterGuard()) {
        std::invoke(std::forward<F>(f));  // an outer guard of this level reports
        return true;
    }
    struct Leave {
        ~Leave() { detail::leaveGuard(); }
    } leave;
    return guardStrict(std::forward<F>(f));
}

// Shows the error box for an error caught elsewhere (same texts as guard).
void reportError(std::exception_ptr error) noexcept;

// Connects a signal to a handler that runs inside the guard. The handler may
// take the signal's arguments or none.
template <class Sender, class Signal, class F>
QMetaObject::Connection on(Sender* sender, Signal signal, QObject* context, F handler) {
    return QObject::connect(sender, signal, context, [h = std::move(handler)](auto&&... args) {
        guard([&] {
            if constexpr (std::is_invocable_v<F&, decltype(args)...>)
                std::invoke(h, std::forward<decltype(args)>(args)...);
            else std::invoke(h);
        });
    });
}

}  // namespace ui
