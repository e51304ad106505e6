#include "yearend/register.h"

#include "data/DB_Acs.h"
#include "rtl/errors.h"
#include "rtl/qt.h"
#include "ui/busy.h"
#include "ui/dialogs.h"
#include "yearend/GensenInp.h"
#include "yearend/withholding.h"

namespace yearend {

void registerWindows(const std::function<void(const QString& formName, FormFactory create)>& add) {
    add(QStringLiteral("frmGensenInp"),
        [](QWidget* owner) -> QObject* { return ui::createForm<TfrmGensenInp>(owner); });
}

void Act_NenjiExecute(data::TDataModule1& dm, const RangeTexts& texts, QWidget* busyOn) {
    MonthRange range;
    try {
        range = monthRange(texts.fromYear, texts.fromMonth, texts.toYear, texts.toMonth);
    } catch (const rtl::ConversionError&) {
        throw;  // the runtime's own message, in the error box
    } catch (const rtl::Error& e) {
        ui::showMessage(rtl::toQString(e.what()));
        return;
    }
    if (!ui::askYesNo(rtl::toQString(kAskText), rtl::toQString(kAskCaption))) return;
    Aggregation result;
    {
        ui::BusyScope busy(nullptr, {busyOn});
        result = buildWithholdingData(dm.ADOConnection1, range);
        // A preparation window still open shows the new rows, not the old
        // ones it read (which it could no longer save).
        if (dm.gensen.active()) {
            dm.gensen.close();
            dm.gensen.open();
        }
    }
    ui::showMessage(rtl::toQString(finishedMessage(result)), rtl::toQString(kAskCaption), ui::Icon::Information);
}

}  // namespace yearend
