// The year-end windows and the annual aggregation, for the main window's hub.
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <functional>
#include <string>

namespace data {
class TDataModule1;
}

namespace yearend {

using FormFactory = std::function<QObject*(QWidget* owner)>;

// Calls `add` with the form object name "frmGensenInp" and its factory.
void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add);

// The main window's range of the annual aggregation (EditYYS, EditMMS,
// EditYYE, EditMME).
struct RangeTexts {
    std::string fromYear, fromMonth, toYear, toMonth;
};

// 年次処理: checks the range, asks, rebuilds gensen under the busy cursor
// on `busyOn` (undone on every way out) and reports what it made. A range
// that is no range shows its message and changes nothing.
void Act_NenjiExecute(data::TDataModule1& dm, const RangeTexts& range, QWidget* busyOn);

}  // namespace yearend
