// SetupDialog: the setup tool's window, where the player picks the settings.
#pragma once
#include "DriveList.h"
#include "SetupValues.h"
#include <windows.h>

// A modal dialog that starts from the given values and, on OK, holds the
// chosen ones in values().
class SetupDialog {
public:
    SetupDialog(const SetupValues& initial, const DriveList& drives);
    SetupDialog(const SetupDialog&) = delete;
    SetupDialog& operator=(const SetupDialog&) = delete;

    // IDOK when the player confirmed, IDCANCEL when the dialog was closed
    // any other way, -1 when it could not be shown.
    INT_PTR run(HINSTANCE instance);
    const SetupValues& values() const { return values_; }

private:
    static INT_PTR CALLBACK dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
    void onInitDialog();
    void fillResolutions();
    void fillDepths();
    void fillDrives();
    void collect();
    int addItem(int control, const char* text, LPARAM data);
    LPARAM selectedData(int control) const;

    HWND dialog_ = nullptr;
    SetupValues values_;
    DriveList drives_;
};
