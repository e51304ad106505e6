// Where the windows of the other areas are connected to the main window.
//
// registerSubWindows() lists every form the hub can open (by form object
// name, see app/subwindows.h); connectCommands() gives the main window's
// actions whose work lives elsewhere (time-recorder import, annual
// withholding data, daily cross table) their handlers. An area that builds a
// window adds one line to each list below; nothing else of the main window
// changes.
#pragma once

class TfrmMain;

namespace app {

void registerSubWindows();
void connectCommands(TfrmMain& main);

// The objects created at start after the data module and kept until the
// program ends: the employee picker frmEmp_seek and the clock dialogs
// DlgOutTime and DlgInTime, in this order.
void createStartupObjects();
void destroyStartupObjects();

}  // namespace app
