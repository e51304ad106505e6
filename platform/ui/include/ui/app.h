// The application object of every window program: its title, the default
// font, and a last line of defence against exceptions escaping a handler.
#pragma once

#include <QApplication>
#include <QString>

namespace ui {

// "Tallyra計算": the caption of plain messages and of the error box.
QString appTitle();
void setAppTitle(const QString& title);

// A QApplication whose event delivery never lets a C++ exception through:
// whatever a handler forgot to catch is shown in the error box (and the
// silent abort shows nothing). Handlers still run through ui::guard; this is
// only the net below it.
class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace ui
