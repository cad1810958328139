// HogeOpening: the movie view made through winCreate, played to its end, then destroyed.
#include "HogeOpening.h"
#include "HogeWindows.h"
#include "KtAviView.h"
#include "KtVelka.h"

namespace {

constexpr const char* viewName = "opening";
constexpr int movieWidth = 160;    // the size the build writes the movie in
constexpr int movieHeight = 120;
// Longer than the movie: a view whose movie never ends does not hold the game.
constexpr DWORD longestWait = 10000;

// The movie beside this module, whatever the current folder.
KtString movieBesideModule()
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&movieBesideModule), &self);
    char path[MAX_PATH] = {};
    GetModuleFileNameA(self, path, sizeof path);
    char* name = path;
    for (char* p = path; *p; p = CharNextA(p))
        if (*p == '\\' || *p == '/')
            name = p + 1;
    lstrcpynA(name, "hoge.avi", static_cast<int>(sizeof path - (name - path)));
    return KtString(path);
}

}  // namespace

namespace HogeOpening {

bool play(KtVelka* velka, const char* parentName)
{
    static KtWindowDescription record;   // read by the window thread, see HogeWindows
    SIZE area = HogeWindows::hostSize(velka);
    int left = (area.cx - movieWidth) / 2;
    int top = (area.cy - movieHeight) / 2;
    record.kind = KtWindowDescription::aviView;
    record.rect = KtRect(left, top, left + movieWidth, top + movieHeight);
    record.parentName = KtString(parentName);
    record.name = KtString(viewName);
    record.showCmd = SW_SHOWNORMAL;
    record.imageFile = movieBesideModule();
    record.param1 = 0;
    record.param2 = 0;
    auto* view = static_cast<KtAviView*>(HogeWindows::create(velka, record));
    if (!view)
        return false;
    if (view->player.window) {
        // At the end the view presses space in its parent, where nobody
        // waits for input yet, and signals doneEvent, on which we wait.
        view->doneEvent.unsignal();
        PostMessageA(view->handle, KtAviView::playMessage, 0, 0);
        HANDLE events[2] = {velka->quitRequest.handle, view->doneEvent.handle};
        if (WaitForMultipleObjects(2, events, FALSE, longestWait) == WAIT_OBJECT_0)
            return false;
    }
    return HogeWindows::destroy(velka, viewName);
}

}  // namespace HogeOpening
