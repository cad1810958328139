// KtMovieWindow: opening, playing, stopping and closing a movie through the MCI window.
#include "KtMovieWindow.h"
#include <cstddef>
#include <vfw.h>

#ifndef _WIN64
// Scenario modules read the three words by position.
static_assert(sizeof(KtMovieWindow) == 12, "three words");
static_assert(offsetof(KtMovieWindow, parent) == 4, "parent");
static_assert(offsetof(KtMovieWindow, instance) == 8, "instance");
#else
static_assert(offsetof(KtMovieWindow, window) < offsetof(KtMovieWindow, parent), "order");
static_assert(offsetof(KtMovieWindow, parent) < offsetof(KtMovieWindow, instance), "order");
#endif

namespace {
// A child without play bar or menu that tells its parent, in the ANSI form,
// when its size or its medium changes. A file it cannot open is answered by
// a null device, not by a modal box on the parent's thread.
constexpr DWORD movieStyle = WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU
                             | MCIWNDF_NOTIFYSIZE | MCIWNDF_NOTIFYMEDIAA | MCIWNDF_NOERRORDLG;

// The device's mode, or 0 when the device does not answer.
DWORD modeOf(UINT device)
{
    MCI_STATUS_PARMS status = {};
    status.dwItem = MCI_STATUS_MODE;
    if (mciSendCommandA(device, MCI_STATUS, MCI_STATUS_ITEM, reinterpret_cast<DWORD_PTR>(&status)) != 0)
        return 0;
    return static_cast<DWORD>(status.dwReturn);
}
}  // namespace

void KtMovieWindow::setOwner(HWND parentWindow, HINSTANCE moduleInstance)
{
    parent = parentWindow;
    instance = moduleInstance;
}

int KtMovieWindow::open(const char* fileName, int x, int y)
{
    close();
    HWND opened = MCIWndCreateA(parent, instance, movieStyle, fileName);
    if (!opened)
        return 0;
    window = opened;
    // A damaged file still gets its window, and may even keep a device id,
    // but the device answers nothing.
    UINT device = deviceId();
    if (!device || !modeOf(device)) {
        close();
        return 0;
    }
    SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    return 1;
}

UINT KtMovieWindow::deviceId() const
{
    if (!window || !IsWindow(window))
        return 0;
    return static_cast<UINT>(SendMessageA(window, MCIWNDM_GETDEVICEID, 0, 0));
}

LONG KtMovieWindow::position() const
{
    return deviceId() ? static_cast<LONG>(SendMessageA(window, MCIWNDM_GETPOSITIONA, 0, 0)) : 0;
}

LONG KtMovieWindow::end() const
{
    return deviceId() ? static_cast<LONG>(SendMessageA(window, MCIWNDM_GETEND, 0, 0)) : 0;
}

// Only MCI_NOTIFY is passed, not MCI_FROM or MCI_TO: the device plays on
// from where it stands, so a stopped movie continues where it stopped.
int KtMovieWindow::play()
{
    UINT device = deviceId();
    if (!device)
        return 0;
    MCI_PLAY_PARMS parameters = {};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(parent);
    parameters.dwFrom = static_cast<DWORD>(position());
    parameters.dwTo = static_cast<DWORD>(end());
    return mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&parameters)) == 0 ? 1 : 0;
}

bool KtMovieWindow::playing() const
{
    UINT device = deviceId();
    return device && modeOf(device) == MCI_MODE_PLAY;
}

void KtMovieWindow::stop()
{
    UINT device = deviceId();
    if (device)
        mciSendCommandA(device, MCI_STOP, MCI_WAIT, 0);
}

// A window that went with its parent has closed its device already.
void KtMovieWindow::close()
{
    if (!window)
        return;
    if (IsWindow(window)) {
        stop();
        SendMessageA(window, MCI_CLOSE, 0, 0);
        DestroyWindow(window);
    }
    window = nullptr;
}
