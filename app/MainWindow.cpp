// MainWindow: creation parameters per frame mode, the scenario host, position memory.
#include "MainWindow.h"
#include "KtMessageBox.h"
#include "KtRect.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "KtWindowPlacement.h"
#include "ProductNames.h"
#include "ScenarioHostWindow.h"
#include "resource.h"

namespace {
DWORD readProductInt(const char* name)
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey, KtRegistryNames::productKeyOptions);
    return product.getInt(name, 0);
}

int frameWidthOffScreen()
{
    return -GetSystemMetrics(SM_CXFIXEDFRAME);
}

int frameHeightOffScreen()
{
    return -(GetSystemMetrics(SM_CYCAPTION) + GetSystemMetrics(SM_CYFIXEDFRAME));
}
}  // namespace

MainWindow::MainWindow(HINSTANCE instanceHandle, char* line, int show)
    : KtAppWindow(instanceHandle, line, show), modeChanged(0), warnOnDepthChange(1),
      frameMode(static_cast<int>(readProductInt(KtRegistryNames::frameMode))),
      frameSurface(nullptr), decorations{nullptr, nullptr, nullptr, nullptr}
{
}

MainWindow::~MainWindow()
{
    // frameSurface and decorations are never set; client is the host window.
    delete host();
    client = nullptr;
}

ScenarioHostWindow* MainWindow::host() const
{
    return static_cast<ScenarioHostWindow*>(client);
}

UINT MainWindow::classStyle()
{
    return CS_BYTEALIGNCLIENT;
}

HICON MainWindow::classIcon()
{
    return LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_POMELO));
}

HBRUSH MainWindow::classBackground()
{
    if (frameMode == 1 && !frameSurface)
        return static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    return nullptr;
}

const char* MainWindow::className()
{
    return ProductNames::windowClass;
}

const char* MainWindow::windowName()
{
    return ProductNames::title;
}

DWORD MainWindow::style()
{
    if (fullScreen())
        return WS_POPUP | WS_CLIPCHILDREN;
    return WS_POPUP | WS_CLIPCHILDREN | WS_CAPTION | WS_SYSMENU;
}

int MainWindow::initialPosition(const char* valueName, int screen, int game, int offScreen)
{
    if (frameMode != 0)
        return 0;
    int position = static_cast<int>(readProductInt(valueName));
    if (screen <= game)
        return offScreen;    // the frame lies just off screen, the client fills it
    if (position < 0)
        return 0;
    if (position >= screen / 2)
        return screen / 2 - 50;
    return position;
}

int MainWindow::initialX()
{
    return initialPosition(KtRegistryNames::windowX, GetSystemMetrics(SM_CXSCREEN), gameWidth,
                           frameWidthOffScreen());
}

int MainWindow::initialY()
{
    return initialPosition(KtRegistryNames::windowY, GetSystemMetrics(SM_CYSCREEN), gameHeight,
                           frameHeightOffScreen());
}

int MainWindow::initialWidth()
{
    if (fullScreen())
        return GetSystemMetrics(SM_CXSCREEN);
    return gameWidth + 2 * GetSystemMetrics(SM_CXFIXEDFRAME);
}

int MainWindow::initialHeight()
{
    if (fullScreen())
        return GetSystemMetrics(SM_CYSCREEN);
    return gameHeight + GetSystemMetrics(SM_CYCAPTION) + 2 * GetSystemMetrics(SM_CYFIXEDFRAME);
}

void MainWindow::onCreated()
{
    if (!passesColourCheck())
        return;
    client = new ScenarioHostWindow(*this);
    if (!client->create())
        return;
    RECT area;
    GetClientRect(handle, &area);
    PostMessageA(handle, WM_SIZE, SIZE_RESTORED, MAKELPARAM(area.right, area.bottom));
}

void MainWindow::onPaint(PAINTSTRUCT*)
{
}

BOOL MainWindow::onClose()
{
    if (client) {
        storePosition();
        delete host();
        client = nullptr;
    }
    return TRUE;
}

void MainWindow::storePosition()
{
    KtRegistryKey product;
    product.open(HKEY_CURRENT_USER, KtRegistryNames::productKey, KtRegistryNames::productKeyOptions);
    if (frameMode != 0) {
        product.setInt(KtRegistryNames::windowX, 0);
        product.setInt(KtRegistryNames::windowY, 0);
        return;
    }
    WINDOWPLACEMENT placement;
    placement.length = sizeof placement;
    if (!GetWindowPlacement(handle, &placement))
        return;
    product.setInt(KtRegistryNames::windowX, static_cast<DWORD>(placement.rcNormalPosition.left));
    product.setInt(KtRegistryNames::windowY, static_cast<DWORD>(placement.rcNormalPosition.top));
}

LRESULT MainWindow::onSize(WPARAM sizeType, LPARAM size)
{
    if (!client || (sizeType != SIZE_RESTORED && sizeType != SIZE_MAXIMIZED))
        return 0;
    int w = LOWORD(size) > gameWidth ? LOWORD(size) : gameWidth;
    int h = HIWORD(size) > gameHeight ? HIWORD(size) : gameHeight;
    if (frameMode == 1)
        KtWindowPlacement::place(client->handle, (w - gameWidth) / 2, (h - gameHeight) / 2,
                                 gameWidth, gameHeight, TRUE, FALSE);
    else
        KtWindowPlacement::place(client->handle, 0, 0, w, h, TRUE, FALSE);
    return 0;
}

LRESULT MainWindow::onWindowPosChanging(WPARAM wParam, LPARAM lParam)
{
    // The captioned window keeps its size while it hosts the game.
    if (client && !fullScreen())
        reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOSIZE;
    return KtAppWindow::onWindowPosChanging(wParam, lParam);
}

LRESULT MainWindow::onDisplayChange(WPARAM bitsPerPixel, LPARAM size)
{
    if (bitsPerPixel <= 8 && warnOnDepthChange) {
        KtMessageBox::show(handle,
                           "利用できる色数が２５６色以下に変更されました。\n"
                           "以降の動作は保証されませんので、速やかに終了させて下さい。",
                           "KtString class", KtMessageBox::notice);
        return 0;
    }
    replaceForScreen(LOWORD(size), HIWORD(size));
    return 0;
}

void MainWindow::replaceForScreen(int screenWidth, int screenHeight)
{
    int width = initialWidth();
    int height = initialHeight();
    int x = 0;
    int y = 0;
    if (screenWidth <= gameWidth && screenHeight <= gameHeight) {
        if (frameMode == 0) {
            x = frameWidthOffScreen();
            y = frameHeightOffScreen();
        }
    } else {
        RECT current;
        GetWindowRect(handle, &current);
        if (frameMode != 0) {
            x = current.left < 0 ? 0 : current.left;
            y = current.top < 0 ? 0 : current.top;
        } else {
            x = (screenWidth - (current.right - current.left)) / 2;
            y = (screenHeight - (current.bottom - current.top)) / 2;
        }
    }
    KtWindowPlacement::place(handle, x, y, width, height, TRUE, FALSE);
}

bool MainWindow::passesColourCheck()
{
    while (SystemInfo::colourDepth() <= 8) {
        KtMessageBox::show(handle, "システムが、２５６色以下のモードで動作しています",
                           "system information", KtMessageBox::notice);
        int answer = KtMessageBox::show(
            handle,
            "このゲームは、ハイカラー以上を前提に作られています。\n"
            "この色数のままで起動した場合の動作は保証されません。\n"
            "画面モードを変更して、ＯＫボタンを押すと実行を継続します。\n"
            "キャンセルボタンを押すと、ゲームを終了します。",
            "system information", KtMessageBox::okCancel);
        if (answer == IDCANCEL) {
            if (handle && IsWindow(handle))
                PostMessageA(handle, WM_CLOSE, 0, 0);
            return false;
        }
    }
    return true;
}

void MainWindow::setScreenMode()
{
    if (modeChanged)
        return;
    sysInfo.captureDisplayMode();
    DEVMODEA wanted = sysInfo.displayMode;
    DWORD width = readProductInt(KtRegistryNames::screenWidth);
    DWORD height = readProductInt(KtRegistryNames::screenHeight);
    DWORD depth = readProductInt(KtRegistryNames::screenDepth);
    if (!width && !height && !depth)
        return;
    if (width)
        wanted.dmPelsWidth = width;
    if (height)
        wanted.dmPelsHeight = height;
    if (depth)
        wanted.dmBitsPerPel = depth;
    wanted.dmDisplayFrequency = 0;   // the driver's choice for the new mode
    if (sysInfo.changeDisplayMode(CDS_FULLSCREEN, &wanted) == DISP_CHANGE_SUCCESSFUL)
        modeChanged = 1;
}

void MainWindow::restoreScreenMode()
{
    if (!modeChanged)
        return;
    sysInfo.changeDisplayMode(CDS_UPDATEREGISTRY);
    modeChanged = 0;
}
