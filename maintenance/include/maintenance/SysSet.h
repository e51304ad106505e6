// The database settings window frmSysSet ("ＤＢ設定"): chooses another
// database file, writes it into the settings file Quendar.ini of the current
// directory and reconnects the working connection to it. Its create button
// makes a new, delivered database under the name typed in.
#pragma once

#include <functional>

#include "ui/form.h"

class QFrame;
class QLabel;
class QLineEdit;
namespace ui {
class Button;
}

namespace maintenance {
// What "確定" calls after the switch so the main window reads its working
// state (recorder layout, pay period) from the new database, as its start-up
// does; the main window registers it.
void setDatabaseSwitchedHandler(std::function<void()> handler);
}  // namespace maintenance

class TfrmSysSet : public ui::Form {
    Q_OBJECT
public:
    explicit TfrmSysSet(QWidget* parent = nullptr);
    ~TfrmSysSet() override;

    // "参照": a file dialog in the window's folder; a chosen file goes to Edit1.
    void Button1Click();
    // "確定": Edit1 must name a database of this program (otherwise a message
    // and nothing changes); then the settings file is written, the working
    // connection switched, the main window's punch buttons follow the
    // punches of the new database, its schema is upgraded, the main window
    // takes its recorder layout and pay period from it, and the window closes.
    void Button2Click();
    // "取消": closes.
    void Button3Click();
    // "ﾃｰﾌﾞﾙ作成": after two questions, a new database under Edit1's name. An
    // existing file is never replaced.
    void btnDB_CreateClick();

    // The folder of the settings file (the current directory at show).
    QString folder() const { return folder_; }

    QFrame* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLabel* Label2 = nullptr;
    QLineEdit* Edit1 = nullptr;
    ui::Button* Button1 = nullptr;
    ui::Button* Button2 = nullptr;
    ui::Button* Button3 = nullptr;
    ui::Button* btnDB_Create = nullptr;

protected:
    void FormShow() override;

private:
    QString folder_;
};

extern TfrmSysSet* frmSysSet;
