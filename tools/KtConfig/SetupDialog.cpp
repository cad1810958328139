// SetupDialog: filling the dialog's lists and reading the player's choice.
#include "SetupDialog.h"
#include "KtConfigIds.h"
#include "ScreenModeList.h"
#include <cstdio>

namespace {

// The one item of each screen list that writes 0: keep the display as it is.
const char* const keepCurrent = "現在のまま";

LPARAM packSize(unsigned long width, unsigned long height)
{
    return static_cast<LPARAM>(MAKELONG(width, height));
}

const char* driveKindName(unsigned kind)
{
    switch (kind) {
    case DriveList::cdrom: return "CD-ROM";
    case DriveList::removable: return "リムーバブル ディスク";
    case DriveList::remote: return "ネットワーク ドライブ";
    case DriveList::ramDisk: return "RAM ディスク";
    default: return "ハード ディスク";
    }
}

} // namespace

SetupDialog::SetupDialog(const SetupValues& initial, const DriveList& drives)
    : values_(initial), drives_(drives)
{
}

INT_PTR SetupDialog::run(HINSTANCE instance)
{
    INT_PTR result = DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_SETUP), nullptr, &SetupDialog::dialogProc,
                                     reinterpret_cast<LPARAM>(this));
    dialog_ = nullptr;
    return result == IDOK ? IDOK : (result == -1 ? -1 : IDCANCEL);
}

INT_PTR CALLBACK SetupDialog::dialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<SetupDialog*>(lParam);
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        self->dialog_ = dialog;
        self->onInitDialog();
        return TRUE;
    }
    auto* self = reinterpret_cast<SetupDialog*>(GetWindowLongPtrA(dialog, DWLP_USER));
    if (!self || message != WM_COMMAND)
        return FALSE;
    switch (LOWORD(wParam)) {
    case IDOK:
        self->collect();
        EndDialog(dialog, IDOK);
        return TRUE;
    case IDCANCEL:  // also the close box and Escape
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

void SetupDialog::onInitDialog()
{
    fillResolutions();
    fillDepths();
    fillDrives();
    int frame = values_.frameMode == 1 ? IDC_FRAME_CENTRED
              : values_.frameMode == 2 ? IDC_FRAME_FULL : IDC_FRAME_WINDOW;
    CheckRadioButton(dialog_, IDC_FRAME_WINDOW, IDC_FRAME_FULL, frame);
    SetForegroundWindow(dialog_);
}

void SetupDialog::fillResolutions()
{
    ScreenModeList modes;
    DEVMODEA mode = {};
    mode.dmSize = sizeof(mode);
    for (DWORD i = 0; EnumDisplaySettingsA(nullptr, i, &mode); ++i)
        modes.add(mode.dmPelsWidth, mode.dmPelsHeight);
    if (values_.width && values_.height)
        modes.addAlways(values_.width, values_.height);

    int selected = addItem(IDC_RESOLUTION, keepCurrent, 0);
    for (const ScreenModeList::Size& size : modes.sizes()) {
        char text[40];
        std::snprintf(text, sizeof(text), "%lu × %lu", size.width, size.height);
        int index = addItem(IDC_RESOLUTION, text, packSize(size.width, size.height));
        if (size.width == values_.width && size.height == values_.height)
            selected = index;
    }
    SendDlgItemMessageA(dialog_, IDC_RESOLUTION, CB_SETCURSEL, selected, 0);
}

void SetupDialog::fillDepths()
{
    struct Depth { unsigned long bits; const char* text; };
    static const Depth depths[] = {{0, keepCurrent}, {16, "ハイカラー（16 ビット）"},
                                   {24, "フルカラー（24 ビット）"}, {32, "フルカラー（32 ビット）"}};
    int selected = 0;
    for (const Depth& d : depths) {
        int index = addItem(IDC_DEPTH, d.text, static_cast<LPARAM>(d.bits));
        if (d.bits == values_.depth)
            selected = index;
    }
    SendDlgItemMessageA(dialog_, IDC_DEPTH, CB_SETCURSEL, selected, 0);
}

void SetupDialog::fillDrives()
{
    // Item data is the drive letter, 0 for "no drive".
    int selected = -1;
    for (const DriveList::Drive& drive : drives_.drives()) {
        char text[64];
        std::snprintf(text, sizeof(text), "%s  %s", drive.name().c_str(), driveKindName(drive.kind));
        int index = addItem(IDC_DRIVE, text, static_cast<LPARAM>(drive.letter));
        if (drive.name() == values_.drive)
            selected = index;
    }
    // A stored drive that is not there now (a disc drive unplugged) stays
    // selectable so that OK does not silently change it.
    if (selected < 0 && values_.drive.size() == 2)
        selected = addItem(IDC_DRIVE, values_.drive.c_str(), static_cast<LPARAM>(values_.drive[0]));
    int none = addItem(IDC_DRIVE, "指定しない", 0);
    if (selected < 0)
        selected = none;
    SendDlgItemMessageA(dialog_, IDC_DRIVE, CB_SETCURSEL, selected, 0);
}

void SetupDialog::collect()
{
    LPARAM size = selectedData(IDC_RESOLUTION);
    values_.width = LOWORD(size);
    values_.height = HIWORD(size);
    values_.depth = static_cast<unsigned long>(selectedData(IDC_DEPTH));
    values_.frameMode = IsDlgButtonChecked(dialog_, IDC_FRAME_CENTRED) ? 1
                      : IsDlgButtonChecked(dialog_, IDC_FRAME_FULL) ? 2 : 0;
    char letter = static_cast<char>(selectedData(IDC_DRIVE));
    values_.drive = letter ? std::string(1, letter) + ":" : std::string();
}

int SetupDialog::addItem(int control, const char* text, LPARAM data)
{
    int index = static_cast<int>(SendDlgItemMessageA(dialog_, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
    if (index >= 0)
        SendDlgItemMessageA(dialog_, control, CB_SETITEMDATA, index, data);
    return index;
}

LPARAM SetupDialog::selectedData(int control) const
{
    LRESULT index = SendDlgItemMessageA(dialog_, control, CB_GETCURSEL, 0, 0);
    if (index == CB_ERR)
        return 0;
    LRESULT data = SendDlgItemMessageA(dialog_, control, CB_GETITEMDATA, index, 0);
    return data == CB_ERR ? 0 : data;
}
