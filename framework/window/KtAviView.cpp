// KtAviView: opening the movie when the view exists, play and stop requests, the end of playback.
#include "KtAviView.h"
#include "KtPathName.h"
#include <cstddef>
#include <vfw.h>

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Winvalid-offsetof"
#ifndef _WIN64
// Scenario modules read these fields by position.
static_assert(offsetof(KtAviView, player) == 76, "player follows the rectangle");
static_assert(offsetof(KtAviView, doneEvent) == 88, "doneEvent");
static_assert(offsetof(KtAviView, fileName) == 96, "fileName");
static_assert(offsetof(KtAviView, movieX) == 108, "movieX");
static_assert(offsetof(KtAviView, movieY) == 112, "movieY");
static_assert(sizeof(KtAviView) == 116, "no field after movieY");
#else
static_assert(offsetof(KtAviView, rect) < offsetof(KtAviView, player), "player follows the rectangle");
static_assert(offsetof(KtAviView, player) < offsetof(KtAviView, doneEvent), "doneEvent");
static_assert(offsetof(KtAviView, doneEvent) < offsetof(KtAviView, fileName), "fileName");
static_assert(offsetof(KtAviView, fileName) < offsetof(KtAviView, movieX), "movieX");
static_assert(offsetof(KtAviView, movieX) < offsetof(KtAviView, movieY), "movieY");
#endif
#pragma GCC diagnostic pop

namespace {
constexpr int fileNameGrowth = 256;

// The full path of a movie name; empty stays empty.
KtString fullPath(const KtString& movieName)
{
    KtString path(fileNameGrowth, nullptr);
    if (movieName.length() > 0)
        path.append(KtPathName(movieName.text()).text());
    return path;
}

bool fileExists(const char* path)
{
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
}  // namespace

KtAviView::KtAviView(HWND parentWindow, const KtString& name, const KtRect& area,
                     const KtString& movieName, int x, int y)
    : KtChildWindow(parentWindow, name, area), player{nullptr, nullptr, nullptr},
      fileName(fullPath(movieName)), movieX(x), movieY(y)
{
    doneEvent.create(TRUE, TRUE);
}

KtAviView::~KtAviView()
{
    player.close();
}

int KtAviView::windowType() { return 37; }
HBRUSH KtAviView::classBackground() { return nullptr; }
const char* KtAviView::className() { return "KtAviView"; }
const char* KtAviView::windowName() { return "KtAviView"; }

// The MCI window shows its own error box when it cannot open a file, which
// would stop this thread until someone answers it; a missing movie is
// therefore not handed to it at all.
void KtAviView::onCreated()
{
    player.setOwner(handle, GetModuleHandleA(nullptr));
    if (fileName.length() == 0 || !fileExists(fileName.text()))
        return;
    player.open(fileName.text(), movieX, movieY);
}

LRESULT KtAviView::onUserMessage(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case playMessage:
        playToEnd();
        return 0;
    case stopMessage:
        stopPlaying();
        return 0;
    default:
        return KtChildWindow::onUserMessage(msg, wParam, lParam);
    }
}

void KtAviView::playToEnd()
{
    player.play();
}

// A stopped movie is over as far as anyone waiting for it is concerned, so
// doneEvent is signalled; but nothing ran to its end, so no key is pressed.
void KtAviView::stopPlaying()
{
    if (!player.deviceId())
        return;
    player.stop();
    doneEvent.signal();
}

// The device also notifies a play that was stopped or replaced by another
// (on Windows as aborted or superseded, under Wine as successful): only a
// successful play that stands on the last frame is the end. Devices differ
// in whether a finished play stands on the last frame or one past it.
bool KtAviView::reachedEnd(WPARAM result) const
{
    if (result != MCI_NOTIFY_SUCCESSFUL || !player.deviceId())
        return false;
    return player.position() >= player.end() - 1;
}

// The parent reacts as to a press of the space bar: a scenario waiting for
// the player's input goes on when the movie is over.
LRESULT KtAviView::onMciNotify(WPARAM wParam, LPARAM)
{
    if (!reachedEnd(wParam))
        return 0;
    HWND parentWindow = GetParent(handle);
    if (parentWindow)
        PostMessageA(parentWindow, WM_KEYDOWN, VK_SPACE, 0);
    doneEvent.signal();
    return 0;
}
