#include "ui/busy.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProgressDialog>
#include <QPushButton>

#include <algorithm>
#include <memory>

namespace ui {

BusyScope::BusyScope(QWidget* panel, std::initializer_list<QWidget*> cursorOn) : panel_(panel) {
    for (QWidget* w : cursorOn) {
        if (!w) continue;
        saved_.push_back({w, w->testAttribute(Qt::WA_SetCursor), w->cursor()});
        w->setCursor(Qt::WaitCursor);
    }
    if (panel_) {
        panelWasVisible_ = panel_->isVisible();
        panel_->show();
        panel_->raise();
        // The job holds the event loop: paint now, not when it is over.
        panel_->repaint();
    }
}

BusyScope::~BusyScope() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
        if (!it->widget) continue;
        if (it->hadCursor) it->widget->setCursor(it->cursor);
        else it->widget->unsetCursor();
    }
    if (panel_ && !panelWasVisible_) panel_->hide();
}

}  // namespace ui

namespace {

std::chrono::milliseconds g_progressDelay{1000};

// The wait cursor over the whole program for a scope.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

namespace ui {

std::chrono::milliseconds progressDialogDelay() { return g_progressDelay; }
void setProgressDialogDelay(std::chrono::milliseconds delay) { g_progressDelay = delay; }

void runLongJob(QWidget* parent, const QString& caption, const QString& label,
                const std::function<void(const JobProgress&)>& job) {
    const WaitCursor cursor;
    // Whatever the last dialog covered (a file dialog, a question) is
    // painted again before the job holds the event loop.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);

    QElapsedTimer running, sincePaint;
    running.start();
    sincePaint.start();
    std::unique_ptr<QProgressDialog> dialog;
    const auto delay = g_progressDelay.count();

    const JobProgress progress = [&](long long done, long long total) {
        if (!dialog && running.elapsed() >= delay) {
            dialog = std::make_unique<QProgressDialog>(parent);
            dialog->setObjectName(QStringLiteral("dlgProgress"));
            dialog->setWindowTitle(caption);
            dialog->setLabelText(label);
            auto* cancel = new QPushButton(QStringLiteral("キャンセル"), dialog.get());
            cancel->setObjectName(QStringLiteral("CancelBtn"));
            dialog->setCancelButton(cancel);
            dialog->setWindowModality(Qt::ApplicationModal);
            dialog->setAutoClose(false);
            dialog->setAutoReset(false);
            dialog->setMinimumDuration(0);
            dialog->setRange(0, 1000);
            dialog->show();
            sincePaint.invalidate();
        }
        if (dialog) {
            const long long span = total > 0 ? total : 1;
            dialog->setValue(static_cast<int>(std::min(done, span) * 1000 / span));
        }
        if (!sincePaint.isValid() || sincePaint.elapsed() >= 50) {
            // Before the dialog shows only painting; with it (modal) the
            // user's clicks reach nothing but its Cancel button.
            QApplication::processEvents(dialog ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
            sincePaint.restart();
        }
        return !(dialog && dialog->wasCanceled());
    };
    job(progress);
}

}  // namespace ui
