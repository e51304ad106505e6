#include "ui/guard.h"

#include "ui/dialogs.h"

#include <rtl/errors.h>

#include <QThread>

#include <vector>

namespace ui {

namespace {
thread_local std::vector<int> guardLevels;

int loopLevel() {
    QThread* thread = QThread::currentThread();
    return thread ? thread->loopLevel() : 0;
}
}  // namespace

namespace detail {

bool enterGuard() {
    const int level = loopLevel();
    if (!guardLevels.empty() && guardLevels.back() == level) return true;
    guardLevels.push_back(level);
    return false;
}

void leaveGuard() {
    if (!guardLevels.empty()) guardLevels.pop_back();
}

void reportException(std::exception_ptr error) noexcept { reportError(error); }

}  // namespace detail

void reportError(std::exception_ptr error) noexcept {
    if (!error) return;
    try {
        try {
            std::rethrow_exception(error);
        } catch (const rtl::SilentAbort&) {
            // ends the handler, shows nothing
        } catch (const std::exception& e) {
            showError(QString::fromUtf8(e.what()));
        } catch (...) {
            showError(QStringLiteral("予期しないエラーが発生しました。"));
        }
    } catch (...) {
        // The error box itself failed; nothing more can be done here.
    }
}

}  // namespace ui
