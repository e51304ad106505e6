// The daily cross table on screen ("日別一覧"): a fixed column of day labels
// and, beside it, one narrow panel per day_work row (the name, then days 1
// to 31), scrolling sideways; twenty panels fit the window.
#pragma once

#include <functional>

#include "ui/form.h"

class QLabel;
class QScrollArea;
class QWidget;

namespace data {
class TDataModule1;
}
namespace ui {
class Button;
}

class TfrmClossRep : public ui::Form {
    Q_OBJECT
public:
    explicit TfrmClossRep(QWidget* parent = nullptr, data::TDataModule1* dm = nullptr);

    // What "印刷" does: opens the print preview of the report form created
    // with this screen. Unset: the button does nothing.
    void setPrintPreview(std::function<void()> preview) { preview_ = std::move(preview); }

    // ---- handlers ----
    void Button1Click();  // 閉じる
    void Button2Click();  // 印刷

    // ---- controls ----
    QWidget* Panel1 = nullptr;
    QLabel* LabelMonth = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* Button2 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QWidget* DBCtrlGrid1 = nullptr;  // the panels, one per row

    // Geometry of one panel.
    static constexpr int PanelWidth = 39;
    static constexpr int PanelHeight = 554;

protected:
    void FormShow() override;

private:
    void fill();
    data::TDataModule1& dm_;
    std::function<void()> preview_;
};
