// HogePictures: the picture thread, the scenes' layers and the title's transition cycle.
#include "HogePictures.h"
#include "KtLayerViewport.h"
#include <process.h>
#include <cstdio>

namespace {

const UINT runMessage = WM_APP + 1;
// Above every picture: pictures count their priorities up from 1.
const int logoPriority = 0x7FFFFFFF;

// Work for the picture thread, and the event it sets when done.
struct PictureJob {
    void (*work)(HogePictures&);
    HogePictures* self;
    HANDLE done;
};

// The pictures' window does not notify its parent, which belongs to the
// host's main thread: no message of it has to wait for that thread.
class PictureViewport : public KtLayerViewport {
public:
    using KtLayerViewport::KtLayerViewport;
    DWORD exStyle() override { return WS_EX_NOPARENTNOTIFY; }
};

// Every transition code: first one of each kind (wipe, line scan, random
// lines, dissolve, fade, at once), then the rest.
const int cycle[] = {11, 50, 48, 40, 9,  0,  20, 52, 49, 44, 38, 23, 10, 12, 13, 14,
                     15, 16, 17, 18, 19, 21, 22, 51, 41, 42, 43, 45, 46, 47, 39};

const char* kindOf(int code)
{
    if (code >= 10 && code <= 23)
        return "ワイプ";
    if (code >= 50 && code <= 52)
        return "走査線";
    if (code == 48 || code == 49)
        return "ランダム線";
    if (code >= 38 && code <= 47)
        return "ディゾルブ";
    if (code == 9)
        return "フェード";
    return "即時";
}

// The transition's family and code, small at the top left, so that the
// player sees which one came.
void label(KtPrintArea& layer, int code)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", kindOf(code), code);
    KtDC& dc = layer.surface.lock();
    SetBkMode(dc.handle(), TRANSPARENT);
    SetTextColor(dc.handle(), RGB(255, 255, 255));
    TextOutA(dc.handle(), 16, 16, text, lstrlenA(text));
    GdiFlush();
    layer.surface.unlock();
}

}  // namespace

bool HogePictures::start(HWND parent)
{
    parent_ = parent;
    ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    unsigned id = 0;
    thread_ = reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &HogePictures::loop, this, 0, &id));
    threadId_ = id;
    if (!thread_ || WaitForSingleObject(ready_, 10000) != WAIT_OBJECT_0)
        return false;
    onThread([](HogePictures& self) {
        RECT client;
        GetClientRect(self.parent_, &client);
        self.view_ = new PictureViewport(self.parent_, KtString("pictures"), 0, 0, client.right,
                                         client.bottom);
        if (!self.view_->create()) {
            delete self.view_;
            self.view_ = nullptr;
            return;
        }
        // Disabled, the pictures let clicks through to the game's window,
        // where the host collects them as input.
        EnableWindow(self.view_->handle, FALSE);
    });
    return view_ != nullptr;
}

// The window goes with its thread: a thread that ends loses its windows
// without a word to the parent's thread. Destroying it by hand would ask the
// parent's thread, the host's main thread, which at a forced end is waiting
// for this game to finish. The object is freed once its window is gone.
void HogePictures::stop()
{
    if (view_ && view_->handle)
        RemovePropA(view_->handle, statusProperty);
    if (thread_) {
        PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
        WaitForSingleObject(thread_, 10000);
        CloseHandle(thread_);
        thread_ = nullptr;
    }
    delete view_;
    view_ = nullptr;
    if (ready_) {
        CloseHandle(ready_);
        ready_ = nullptr;
    }
}

bool HogePictures::onThread(void (*work)(HogePictures&))
{
    HANDLE done = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    PictureJob job{work, this, done};
    bool finished = PostThreadMessageA(threadId_, runMessage, 0, reinterpret_cast<LPARAM>(&job)) &&
                    WaitForSingleObject(done, 10000) == WAIT_OBJECT_0;
    CloseHandle(done);
    return finished;
}

unsigned __stdcall HogePictures::loop(void* argument)
{
    auto* self = static_cast<HogePictures*>(argument);
    MSG msg;
    PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);   // the queue exists before anyone posts
    SetEvent(self->ready_);
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (!msg.hwnd && msg.message == runMessage) {
            auto* job = reinterpret_cast<PictureJob*>(msg.lParam);
            job->work(*job->self);
            SetEvent(job->done);
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}

namespace {

// Copies a loaded picture with its colours into a layer of the same size
// or larger; what the picture does not cover stays as it was.
void copyPicture(KtVSurface& picture, KtPrintArea& layer)
{
    KtVSurface& s = layer.surface;
    const int w = picture.width() < s.width() ? picture.width() : s.width();
    const int h = picture.height() < s.height() ? picture.height() : s.height();
    for (int y = 0; y < h; ++y)
        CopyMemory(s.pixelAddress(0, y), picture.pixelAddress(0, y), w);
    s.copyColours(picture);
}

// Dialogue: white Japanese text in a dark box across the bottom. Index 0
// of every picture's colours is its darkest.
void drawDialogue(KtPrintArea& layer, const char* const* lines, int lineCount)
{
    if (lineCount <= 0)
        return;
    KtVSurface& s = layer.surface;
    const int boxTop = s.height() - 24 - 26 * lineCount;
    KtRect box(8, boxTop, s.width() - 8, s.height() - 8);
    s.fill(0, &box);
    KtDC& dc = s.lock();
    HFONT font = CreateFontA(22, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "");
    HGDIOBJ old = SelectObject(dc.handle(), font);
    SetBkMode(dc.handle(), TRANSPARENT);
    SetTextColor(dc.handle(), RGB(255, 255, 255));
    for (int i = 0; i < lineCount; ++i)
        TextOutA(dc.handle(), 24, boxTop + 8 + 26 * i, lines[i], lstrlenA(lines[i]));
    SelectObject(dc.handle(), old);
    DeleteObject(font);
    GdiFlush();
    s.unlock();
}

// The logo: large text on a dark band.
void drawLogo(KtPrintArea& layer)
{
    KtVSurface& s = layer.surface;
    RGBQUAD table[256] = {};
    table[1] = RGBQUAD{60, 20, 10, 0};
    table[2] = RGBQUAD{40, 200, 255, 0};
    table[3] = RGBQUAD{90, 40, 20, 0};
    s.setColourRange(table, 0, 256);
    s.fill(1, nullptr);
    KtDC& dc = s.lock();
    HFONT font = CreateFontA(72, 0, 0, 0, FW_HEAVY, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "");
    HGDIOBJ old = SelectObject(dc.handle(), font);
    SetBkMode(dc.handle(), TRANSPARENT);
    const char* name = "ほげ物語";
    SetTextColor(dc.handle(), PALETTERGB(20, 40, 90));
    TextOutA(dc.handle(), 64, 28, name, lstrlenA(name));
    SetTextColor(dc.handle(), PALETTERGB(255, 200, 40));
    TextOutA(dc.handle(), 60, 24, name, lstrlenA(name));
    SelectObject(dc.handle(), old);
    DeleteObject(font);
    GdiFlush();
    s.unlock();
}

}  // namespace

int HogePictures::nextLayer()
{
    return shownLayer_ == 1 ? 2 : 1;
}

void HogePictures::defineFull(int index, int key, int startLevel)
{
    const int w = view_->surface.width(), h = view_->surface.height();
    view_->defineLayer(index, 0, 0, 0, 0, w, h, 0, 0, w, h, 0, 0, key, startLevel, ++priority_, 0);
}

// The logo's layer: a band across the upper part of the title.
void HogePictures::defineLogo(int startLevel)
{
    const int w = 440, h = 120;
    view_->defineLayer(logoLayer_, 0, 0, 0, 0, w, h, 100, 60, w, h, 0, 0, -2, startLevel, logoPriority, 0);
    drawLogo(view_->layers[logoLayer_]);
}

void HogePictures::showTitle(const char* file, const char* const* lines, int lineCount)
{
    if (!view_)
        return;
    if (logoLayer_) {
        view_->removeLayer(logoLayer_, FALSE);
        logoLayer_ = 0;
    }
    titleLines_ = lines;
    titleLineCount_ = lineCount;
    showPicture(file, lines, lineCount, 9);   // the background fades in
    logoLayer_ = 3;
    defineLogo(16);
    view_->showLayer(logoLayer_, 0, 16);   // and the logo is put over it
}

int HogePictures::cycleTitle(const char* file)
{
    if (!view_ || !logoLayer_)
        return 0;
    const int code = cycle[nextCode_];
    nextCode_ = (nextCode_ + 1) % int(sizeof cycle / sizeof cycle[0]);
    // The transition runs on the picture alone; the logo comes back at once.
    view_->removeLayer(logoLayer_, FALSE);
    showPicture(file, titleLines_, titleLineCount_, code, true);
    defineLogo(16);
    view_->showLayer(logoLayer_, 0, 16);
    return code;
}

void HogePictures::showScene(const char* file, const char* const* lines, int lineCount, int code)
{
    if (!view_)
        return;
    if (logoLayer_) {
        view_->removeLayer(logoLayer_, FALSE);
        logoLayer_ = 0;
    }
    showPicture(file, lines, lineCount, code);
}

// Layers 1 and 2 take turns: the new picture goes on top of the shown one
// (but under the logo), which is removed once it is covered.
void HogePictures::showPicture(const char* file, const char* const* lines, int lineCount, int code,
                               bool labelled)
{
    KtVSurface picture;
    picture.loadFile(KtString(file), 0);   // throws a diagnostic when it cannot
    const int index = nextLayer();
    const int startLevel = code == 9 ? 0 : 16;
    defineFull(index, -2, startLevel);
    copyPicture(picture, view_->layers[index]);
    drawDialogue(view_->layers[index], lines, lineCount);
    if (labelled)
        label(view_->layers[index], code);
    view_->showLayer(index, code, startLevel);
    if (shownLayer_)
        view_->removeLayer(shownLayer_, FALSE);
    shownLayer_ = index;
}

void HogePictures::setStatus(int scene, int waitingFor)
{
    // A window property, which other processes read without asking the
    // window (a child window's text they cannot read).
    if (view_)
        SetPropA(view_->handle, statusProperty, reinterpret_cast<HANDLE>(static_cast<INT_PTR>(1 + scene * 16 + waitingFor)));
}
