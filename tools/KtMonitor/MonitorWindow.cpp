// MonitorWindow: controls, the refresh timer and the register changes of the monitor's window.
#include "MonitorWindow.h"
#include "WindowText.h"
#include <cstdlib>

namespace {
const char windowClass[] = "KtMonitor";
const char caption[] = "ＰＯＭＥＬＯ register monitor";
const UINT_PTR refreshTimer = 1;
const UINT refreshMilliseconds = 1000;

enum ControlId { statusId = 100, listingId, kindId, indexId, valueId, setId, refreshId };

const char* const kindNames[] = {"ゲームレジスタ", "システムレジスタ", "文字列レジスタ"};

HWND makeControl(HWND parent, const char* kind, const char* text, DWORD style, int id)
{
    HWND control = CreateWindowExA(0, kind, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 10, 10,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   GetModuleHandleA(nullptr), nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return control;
}
}  // namespace

bool MonitorWindow::create(int showCommand)
{
    WNDCLASSA description{};
    description.lpfnWndProc = &MonitorWindow::procedure;
    description.hInstance = GetModuleHandleA(nullptr);
    description.hCursor = LoadCursor(nullptr, IDC_ARROW);
    description.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    description.lpszClassName = windowClass;
    RegisterClassA(&description);
    window_ = CreateWindowExA(0, windowClass, caption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, 480, 520, nullptr, nullptr, GetModuleHandleA(nullptr),
                              this);
    if (!window_)
        return false;
    ShowWindow(window_, showCommand);
    return true;
}

int MonitorWindow::run()
{
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (IsDialogMessageA(window_, &message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return static_cast<int>(message.wParam);
}

LRESULT CALLBACK MonitorWindow::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* self = static_cast<MonitorWindow*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->window_ = window;
    }
    auto* self = reinterpret_cast<MonitorWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!self)
        return DefWindowProcA(window, message, wParam, lParam);
    return self->handle(message, wParam, lParam);
}

LRESULT MonitorWindow::handle(UINT message, WPARAM wParam, LPARAM lParam)
{
    LRESULT result = 0;
    HWND game = link_ ? link_->game() : nullptr;
    if (link_ && link_->handleMessage(message, wParam, lParam, &result)) {
        if (link_->gameEnded() && !reportedEnd_) {
            reportedEnd_ = true;
            endedGame_ = game;
            setStatus("ゲームは終了しました");
        }
        return result;
    }
    switch (message) {
    case WM_CREATE:
        link_.reset(new MonitorConnection(window_));
        createControls();
        SetTimer(window_, refreshTimer, refreshMilliseconds, nullptr);
        onTimer();
        return 0;
    case WM_SIZE:
        layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == refreshTimer)
            onTimer();
        return 0;
    case WM_COMMAND:
        if (LOWORD(wParam) == refreshId)
            refresh();
        else if (LOWORD(wParam) == setId)
            applyChange();
        return 0;
    case WM_DESTROY:
        KillTimer(window_, refreshTimer);
        link_.reset();   // detaches
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window_, message, wParam, lParam);
}

void MonitorWindow::createControls()
{
    makeControl(window_, "STATIC", "ゲームを探しています", SS_LEFT, statusId);
    makeControl(window_, "EDIT", "",
                WS_BORDER | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, listingId);
    HWND kinds = makeControl(window_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_TABSTOP, kindId);
    for (const char* name : kindNames)
        SendMessageA(kinds, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    SendMessageA(kinds, CB_SETCURSEL, 0, 0);
    makeControl(window_, "EDIT", "0", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, indexId);
    makeControl(window_, "EDIT", "", WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, valueId);
    makeControl(window_, "BUTTON", "設定", BS_PUSHBUTTON | WS_TABSTOP, setId);
    makeControl(window_, "BUTTON", "更新", BS_PUSHBUTTON | WS_TABSTOP, refreshId);
}

void MonitorWindow::layout(int width, int height)
{
    const int margin = 8, row = 24;
    int bottom = height - margin - row;
    auto place = [&](int id, int x, int y, int w, int h) {
        MoveWindow(GetDlgItem(window_, id), x, y, w, h, TRUE);
    };
    place(statusId, margin, margin, width - 2 * margin, 18);
    place(listingId, margin, margin + 22, width - 2 * margin, bottom - margin - (margin + 22));
    place(kindId, margin, bottom, 120, 200);
    place(indexId, margin + 126, bottom, 50, row);
    int valueWidth = width - (margin + 182) - 2 * 66 - margin;
    place(valueId, margin + 182, bottom, valueWidth > 40 ? valueWidth : 40, row);
    place(setId, width - margin - 2 * 66 + 6, bottom, 60, row);
    place(refreshId, width - margin - 60, bottom, 60, row);
}

void MonitorWindow::setStatus(const char* text)
{
    SetDlgItemTextA(window_, statusId, text);
}

// The whole text: a listing cut at a fixed size would never equal the new
// one, and resetting it every second makes the scroll position jump.
std::string MonitorWindow::controlText(int id) const
{
    return WindowText::read(GetDlgItem(window_, id));
}

void MonitorWindow::onTimer()
{
    HWND game = MonitorConnection::findGame();
    if (!game || game == endedGame_)
        return;
    // The game serves one monitor at a time: attaching again on every tick
    // takes it back after another monitor has come and gone.
    bool wasAttached = link_->attached();
    if (!link_->attach())
        return;
    if (!wasAttached) {
        reportedEnd_ = false;
        setStatus("接続しました");
    }
    refresh();
}

void MonitorWindow::refresh()
{
    if (!link_->attached())
        return;
    link_->refresh();
    std::string listing = link_->snapshot().format("\r\n");
    if (listing.empty())
        listing = "(レジスタはまだ公開されていません)";
    if (controlText(listingId) != listing)   // keeps the scroll position while nothing changes
        SetDlgItemTextA(window_, listingId, listing.c_str());
}

void MonitorWindow::applyChange()
{
    if (!link_->attached())
        return;
    int kind = static_cast<int>(SendDlgItemMessageA(window_, kindId, CB_GETCURSEL, 0, 0));
    std::string index = controlText(indexId);
    std::string value = controlText(valueId);
    char* end = nullptr;
    long number = std::strtol(index.c_str(), &end, 0);
    if (index.empty() || *end) {
        setStatus("番号が正しくありません");
        return;
    }
    if (kind == 2) {
        link_->setStringRegister(static_cast<int>(number), value);
    } else {
        long long parsed = std::strtoll(value.c_str(), &end, 0);
        if (value.empty() || *end) {
            setStatus("値が正しくありません");
            return;
        }
        auto newValue = static_cast<std::int32_t>(parsed);
        if (kind == 0)
            link_->setGameRegister(static_cast<int>(number), newValue);
        else
            link_->setSystemRegister(static_cast<int>(number), newValue);
    }
    setStatus("設定しました");
    refresh();
}
