// KtWindowMover: the press timer, the slop test and the move command.
#include "KtWindowMover.h"
#include "KtCriticalSection.h"
#include "KtVelka.h"
#include "KtWindow.h"
#include <cstdlib>

namespace {
constexpr int popupViewportType = 6;

int lowX(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int highY(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }
}  // namespace

KtWindowMover::KtWindowMover(KtVelka& velka)
    : velka_(velka), pressed_(0), pressWindow_(nullptr)
{
}

bool KtWindowMover::press(HWND window, LPARAM lParam)
{
    HWND movable = findMovable(window);
    if (!movable || pressed_)
        return false;
    SetTimer(movable, timerId, holdMilliseconds, nullptr);
    pressed_ = 1;
    pressPoint_ = KtPoint(lowX(lParam), highY(lParam));
    pressWindow_ = movable;
    return true;
}

void KtWindowMover::mouseMoved(LPARAM lParam)
{
    if (pressed_ && beyondSlop(pressPoint_, lParam))
        startMove();
}

void KtWindowMover::timerFired(HWND window, WPARAM id)
{
    if (id != timerId || !window || window != pressWindow_)
        return;
    stopTimer();
    if (pressed_)
        startMove();
}

bool KtWindowMover::release()
{
    if (!pressed_)
        return false;
    pressed_ = 0;
    // A timer left running would fire at a window that may no longer be
    // the pressed one, and repeat there for good.
    stopTimer();
    return true;
}

bool KtWindowMover::beyondSlop(const KtPoint& pressPoint, LPARAM lParam)
{
    return std::abs(lowX(lParam) - pressPoint.x) > slop
        || std::abs(highY(lParam) - pressPoint.y) > slop;
}

// The system's move loop runs inside this call, on this thread, until the
// button goes up; the module can see it through dragging.
void KtWindowMover::startMove()
{
    pressed_ = 0;
    stopTimer();
    velka_.dragging = 1;
    SendMessageA(pressWindow_, WM_SYSCOMMAND, moveCommand, 0);
    velka_.dragging = 0;
}

void KtWindowMover::stopTimer()
{
    if (pressWindow_)
        KillTimer(pressWindow_, timerId);
}

HWND KtWindowMover::findMovable(HWND window)
{
    KtCriticalSection::Hold hold(velka_.lock);
    KtWindowHandle key;
    while (window) {
        key.handle = window;
        KtObjectNode* node = velka_.windows.find(&key);
        if (node == KtObjectList::notFound)
            return nullptr;
        // Only window objects are registered, and every one is a KtWindow.
        KtWindow* registered = static_cast<KtWindow*>(static_cast<KtWindowHandle*>(node->object));
        if (registered->runtimeFlag)
            return window;
        if (registered->windowType() == popupViewportType)
            return nullptr;
        window = GetParent(window);
    }
    return nullptr;
}
