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
// when its size or its medium changes.
constexpr DWORD movieStyle = WS_CHILD | WS_VISIBLE | MCIWNDF_NOPLAYBAR | MCIWNDF_NOMENU
                             | MCIWNDF_NOTIFYSIZE | MCIWNDF_NOTIFYMEDIAA;
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
void KtMovieWindow::play()
{
    UINT device = deviceId();
    if (!device)
        return;
    MCI_PLAY_PARMS parameters = {};
    parameters.dwCallback = reinterpret_cast<DWORD_PTR>(parent);
    parameters.dwFrom = static_cast<DWORD>(position());
    parameters.dwTo = static_cast<DWORD>(end());
    mciSendCommandA(device, MCI_PLAY, MCI_NOTIFY, reinterpret_cast<DWORD_PTR>(&parameters));
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
