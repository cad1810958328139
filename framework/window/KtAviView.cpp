// KtAviView: opening the movie when the view exists, play and stop requests, the end of playback.
#include "KtAviView.h"
#include "KtMessageBox.h"
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
constexpr const char* openTitle = "KtAviView - open";
// The view's layout is fixed, so the one flag it needs lives with its window.
constexpr const char* stopAskedProperty = "KtAviView.stopAsked";

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
    if (handle && IsWindow(handle))
        RemovePropA(handle, stopAskedProperty);
}

int KtAviView::windowType() { return 37; }
HBRUSH KtAviView::classBackground() { return nullptr; }
const char* KtAviView::className() { return "KtAviView"; }
const char* KtAviView::windowName() { return "KtAviView"; }

// A view made without a movie name is empty on purpose; a name that gives
// no movie is the module's or the installation's fault and is said once.
void KtAviView::onCreated()
{
    player.setOwner(handle, GetModuleHandleA(nullptr));
    if (fileName.length() == 0)
        return;
    if (!fileExists(fileName.text()))
        report("」が見つかりません");
    else if (!player.open(fileName.text(), movieX, movieY))
        report("」を再生できません");
}

void KtAviView::report(const char* what)
{
    KtString text("「");
    text.append(fileName.text());
    text.append(what);
    KtMessageBox::show(handle, text.text(), openTitle, KtMessageBox::notice);
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

// A play that cannot start, for want of a movie or because the device
// refuses it, will never be answered: it ends at once.
void KtAviView::playToEnd()
{
    if (!player.play())
        endPlayback();
}

// A stopped movie is over as far as anyone waiting for it is concerned, so
// doneEvent is signalled; but nothing ran to its end, so no key is pressed.
void KtAviView::stopPlaying()
{
    if (player.playing())
        setStopAsked(true);
    player.stop();
    doneEvent.signal();
}

// The parent reacts as to a press of the space bar: a scenario waiting for
// the player's input goes on when the movie is over.
void KtAviView::endPlayback()
{
    HWND parentWindow = GetParent(handle);
    if (parentWindow)
        PostMessageA(parentWindow, WM_KEYDOWN, VK_SPACE, 0);
    doneEvent.signal();
}

void KtAviView::setStopAsked(bool asked)
{
    if (asked)
        SetPropA(handle, stopAskedProperty, reinterpret_cast<HANDLE>(1));
    else
        RemovePropA(handle, stopAskedProperty);
}

bool KtAviView::takeStopAsked()
{
    bool asked = GetPropA(handle, stopAskedProperty) != nullptr;
    if (asked)
        setStopAsked(false);
    return asked;
}

// A play that was stopped is still answered, on some systems as successful,
// and a play replaced by another is answered as superseded (or not at all).
// Any other successful answer is the end, wherever the device stands: it may
// count in another time format than frames or stop short of the last frame.
// A failed play ends too; nothing more will come of it.
LRESULT KtAviView::onMciNotify(WPARAM wParam, LPARAM)
{
    if (takeStopAsked())
        return 0;
    if (wParam == MCI_NOTIFY_SUCCESSFUL || wParam == MCI_NOTIFY_FAILURE)
        endPlayback();
    return 0;
}
