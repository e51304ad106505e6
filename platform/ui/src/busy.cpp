#include "ui/busy.h"

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
