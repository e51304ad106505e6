// The version dialog: product name, version, maker, a short comment and two
// links, opened from the help menu of the main window.
#pragma once

#include "ui/form.h"

class QLabel;
namespace ui {
class Button;
}

class TDlgAboutBox : public ui::Form {
    Q_OBJECT
public:
    explicit TDlgAboutBox(QWidget* parent = nullptr);

    static QString productName() { return QStringLiteral("Tallyra"); }
    static QString versionNumber() { return QStringLiteral("4.2.0.0"); }
    static QString maker() { return QStringLiteral("Marvolt"); }
    // The main link opens the help page of the working folder; the tax-rate
    // link opens the tax office's page of the current withholding tables.
    static QString mainUrl() { return QStringLiteral("Tallyra2.htm"); }
    static QString taxRateUrl() {
        return QStringLiteral("https://www.nta.go.jp/publication/pamph/gensen/zeigakuhyo2026/01.htm");
    }

    QLabel* ProductName = nullptr;
    QLabel* Version = nullptr;
    QLabel* Copyright = nullptr;
    QLabel* Comments = nullptr;
    QLabel* MainURL = nullptr;
    QLabel* TaxURL = nullptr;
    ui::Button* OKButton = nullptr;

protected:
    void FormShow() override;
};
