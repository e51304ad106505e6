// The compaction window frmDB_Pack: opens the database named in Quendar.ini
// of the current directory through a database-file object of its own, and
// "最適化" compacts it. Failures show the reason through ShowAppMessage.
#pragma once

#include <QString>

#include <memory>

#include "db/DatabaseIO.h"
#include "ui/dialogs.h"
#include "ui/form.h"

class QListWidget;
namespace ui {
class Button;
}

// Brings the program to the front, then shows `text` with the application
// title as caption and the icon; returns the button pressed (1, OK).
int ShowAppMessage(const QString& text, ui::Icon icon);

class TfrmDB_Pack : public ui::Form {
    Q_OBJECT
public:
    explicit TfrmDB_Pack(QWidget* parent = nullptr);
    ~TfrmDB_Pack() override;

    // Reads line 1 of Quendar.ini and opens that file (never creating it).
    void btnGetDBClick();
    // Compacts the open file; the working connection is closed first, so no
    // connection of the program goes on using the replaced file.
    void btnDB_PackClick();
    void btnCloseClick();

    db::TDatabaseJet* database() const { return Database.get(); }

    ui::Button* btnDB_Pack = nullptr;
    ui::Button* btnClose = nullptr;
    ui::Button* btnGetDB = nullptr;   // hidden
    QListWidget* ListBox1 = nullptr;  // hidden

protected:
    void FormCreate() override;
    void FormDestroy() override;
    void FormShow() override;

private:
    std::unique_ptr<db::TDatabaseJet> Database;
};

extern TfrmDB_Pack* frmDB_Pack;
