// The pay windows of this folder, for the main window's hub: the monthly pay
// record with its two calculation dialogs, and the bonus record (the
// deduction slip is opened by the monthly record itself).
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>

namespace total {

using FormFactory = std::function<QObject*(QWidget* owner)>;

// Calls `add` for "frmTotal", "frmTotalB", "DlgCalcTime" and "DlgCalcCount".
void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add);

}  // namespace total
