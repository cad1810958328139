// KtWindowPlacement: MoveWindow with the keep-on-screen rule.
#include "KtWindowPlacement.h"
#include "ScreenFit.h"
#include <shellapi.h>
#include <cstring>

namespace {
KtWindowPlacement::TaskbarQuery taskbarQuery = nullptr;
}

void KtWindowPlacement::askShell(bool& autoHides, RECT& bar)
{
    APPBARDATA data;
    std::memset(&data, 0, sizeof data);
    data.cbSize = sizeof data;
    autoHides = (SHAppBarMessage(ABM_GETSTATE, &data) & ABS_AUTOHIDE) != 0;
    std::memset(&bar, 0, sizeof bar);
    if (autoHides)
        return;
    std::memset(&data, 0, sizeof data);
    data.cbSize = sizeof data;
    SHAppBarMessage(ABM_GETTASKBARPOS, &data);
    bar = data.rc;
}

KtWindowPlacement::TaskbarQuery KtWindowPlacement::setTaskbarQuery(TaskbarQuery query)
{
    TaskbarQuery old = taskbarQuery ? taskbarQuery : &askShell;
    taskbarQuery = query;
    return old;
}

BOOL KtWindowPlacement::place(HWND window, int x, int y, int width, int height, BOOL repaint,
                              BOOL keepOnScreen)
{
    if (!window || !IsWindow(window))
        return TRUE;
    if (width == 0 || height == 0) {
        RECT current;
        GetWindowRect(window, &current);
        if (width == 0)
            width = current.right - current.left;
        if (height == 0)
            height = current.bottom - current.top;
    }
    BOOL result = TRUE;
    if (keepOnScreen) {
        bool autoHides = false;
        RECT bar;
        (taskbarQuery ? taskbarQuery : &askShell)(autoHides, bar);
        ScreenArea area = ScreenFit::usableArea(GetSystemMetrics(SM_CXSCREEN),
                                                GetSystemMetrics(SM_CYSCREEN), autoHides,
                                                RectEdges{bar.left, bar.top, bar.right, bar.bottom});
        result = ScreenFit::fit(area, x, y, width, height);
    }
    MoveWindow(window, x, y, width, height, repaint);
    return result;
}
