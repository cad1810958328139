// KtLayerViewport: layers, composition, transitions, fades and mouse reports.
#include "KtLayerViewport.h"
#include "KtFrameTimer.h"
#include "KtSentMessageWait.h"
#include "TransitionRunner.h"
#include "TransitionScreen.h"
#include <cstddef>

struct KtLayerViewportLayout {
#ifndef _WIN64
    static_assert(offsetof(KtLayerViewport, layers) == 176);
    static_assert(offsetof(KtLayerViewport, layerList) == 30512);
    static_assert(offsetof(KtLayerViewport, animationThread) == 30524);
    static_assert(offsetof(KtLayerViewport, threadWord) == 30540);
    static_assert(offsetof(KtLayerViewport, lock) == 30544);
    static_assert(offsetof(KtLayerViewport, live) == 30572);
    static_assert(offsetof(KtLayerViewport, stopRequest) == 30576);
    static_assert(offsetof(KtLayerViewport, dirty) == 30580);
    static_assert(offsetof(KtLayerViewport, inputMode) == 30600);
    static_assert(offsetof(KtLayerViewport, mouseEvent) == 30604);
    static_assert(offsetof(KtLayerViewport, mouseKind) == 30612);
    static_assert(offsetof(KtLayerViewport, mouseX) == 30616);
    static_assert(offsetof(KtLayerViewport, mouseY) == 30620);
    static_assert(offsetof(KtLayerViewport, mouseWord1) == 30624);
    static_assert(offsetof(KtLayerViewport, mouseWord2) == 30628);
    static_assert(offsetof(KtLayerViewport, mouseWord3) == 30632);
    static_assert(offsetof(KtLayerViewport, records) == 30636);
    static_assert(offsetof(KtLayerViewport, heldBack_) == 30648, "after every module field");
#else
    static_assert(offsetof(KtLayerViewport, layers) >= sizeof(KtViewport24));
    static_assert(offsetof(KtLayerViewport, layers) < offsetof(KtLayerViewport, layerList));
    static_assert(offsetof(KtLayerViewport, layerList) < offsetof(KtLayerViewport, animationThread));
    static_assert(offsetof(KtLayerViewport, animationThread) < offsetof(KtLayerViewport, threadWord));
    static_assert(offsetof(KtLayerViewport, threadWord) < offsetof(KtLayerViewport, lock));
    static_assert(offsetof(KtLayerViewport, lock) < offsetof(KtLayerViewport, live));
    static_assert(offsetof(KtLayerViewport, live) < offsetof(KtLayerViewport, stopRequest));
    static_assert(offsetof(KtLayerViewport, stopRequest) < offsetof(KtLayerViewport, dirty));
    static_assert(offsetof(KtLayerViewport, dirty) < offsetof(KtLayerViewport, inputMode));
    static_assert(offsetof(KtLayerViewport, inputMode) < offsetof(KtLayerViewport, mouseEvent));
    static_assert(offsetof(KtLayerViewport, mouseEvent) < offsetof(KtLayerViewport, mouseKind));
    static_assert(offsetof(KtLayerViewport, mouseKind) < offsetof(KtLayerViewport, mouseX));
    static_assert(offsetof(KtLayerViewport, mouseX) < offsetof(KtLayerViewport, mouseY));
    static_assert(offsetof(KtLayerViewport, mouseY) < offsetof(KtLayerViewport, mouseWord1));
    static_assert(offsetof(KtLayerViewport, mouseWord1) < offsetof(KtLayerViewport, mouseWord2));
    static_assert(offsetof(KtLayerViewport, mouseWord2) < offsetof(KtLayerViewport, mouseWord3));
    static_assert(offsetof(KtLayerViewport, mouseWord3) < offsetof(KtLayerViewport, records));
    static_assert(offsetof(KtLayerViewport, records) < offsetof(KtLayerViewport, heldBack_));
#endif
};

namespace {

const int noEffect = 255;
const int fadeEffect = 9;

// The window a transition runs on: copies go through redrawRect (slot 4,
// without erasing) and pauses keep to a clock that starts with the
// transition, so time spent copying counts toward the next pause.
class ViewportScreen : public TransitionScreen {
public:
    explicit ViewportScreen(KtLayerViewport& viewport) : viewport_(viewport)
    {
        QueryPerformanceFrequency(&frequency_);
        QueryPerformanceCounter(&start_);
        // The button's "pressed since the last question" bit may be left
        // from before the transition: ask once so that it starts clean.
        GetAsyncKeyState(VK_RBUTTON);
    }

    void copy(const KtRect& r) override
    {
        const RECT area = r.as<RECT>();
        viewport_.redrawRect(&area, FALSE);
    }

    // Parts are invalidated (slot 7, without erasing) and painted together
    // by one update (slot 5): the scenario thread runs transitions on a
    // window of the window thread, and every update is a round trip to it,
    // so a part at a time would take seconds for the blocks of a screen.
    void copyLater(const KtRect& r) override
    {
        const RECT area = r.as<RECT>();
        viewport_.invalidateRect(&area, FALSE);
    }

    void showBatch() override { viewport_.update(); }

    void pause(uint32_t ms) override
    {
        dueMs_ += ms;
        const double now = elapsedMs();
        if (now < dueMs_)
            Sleep(DWORD(dueMs_ - now + 0.999));
    }

    bool skipRequested() override { return (GetAsyncKeyState(VK_RBUTTON) & 0x8001) != 0; }

private:
    double elapsedMs() const
    {
        LARGE_INTEGER now;
        QueryPerformanceCounter(&now);
        return double(now.QuadPart - start_.QuadPart) * 1000.0 / double(frequency_.QuadPart);
    }

    KtLayerViewport& viewport_;
    LARGE_INTEGER frequency_;
    LARGE_INTEGER start_;
    double dueMs_ = 0;
};

bool validIndex(int index)
{
    return index >= 0 && index < KtLayerViewport::layerCount;
}

}  // namespace

KtLayerViewport::KtLayerViewport(HWND parentWindow, const KtString& name, int left, int top,
                                 int width, int height)
    : KtViewport24(parentWindow, name, KtRect(left, top, left + width, top + height)),
      threadWord(0), live(1), stopRequest(0), inputMode(0), mouseKind(0), mouseX(0), mouseY(0),
      mouseWord1(0), mouseWord2(0), mouseWord3(0)
{
    paintSuspended = 0;
    showCmd = SW_SHOWNORMAL;
    resetInput(0);
}

// The members then go in reverse order: the records are emptied, the mouse
// event closed, the lock deleted, the module's thread closed (terminated if
// it still runs), the list emptied (it owns no layer) and the layers freed.
KtLayerViewport::~KtLayerViewport()
{
    stopThread();
}

int KtLayerViewport::windowType()
{
    return 14;
}

void KtLayerViewport::resetInput(int mode)
{
    inputMode = mode;
    live = 1;
    stopRequest = 0;
    threadWord = 0;
    mouseKind = mouseX = mouseY = 0;
    mouseWord3 = -3;
    mouseEvent.create(TRUE, FALSE);
    mouseWord2 = 0;
    mouseWord1 = 500;
}

void KtLayerViewport::defineLayer(int index, int wrapWidth, int wrapHeight, int pictureX,
                                  int pictureY, int width, int height, int left, int top,
                                  int areaWidth, int areaHeight, int originX, int originY, int key,
                                  int level, int priority, int userWord)
{
    if (!validIndex(index))
        return;
    KtCriticalSection::Hold hold(lock);
    if (priority < 0)
        priority = index;
    removeLayer(index, FALSE);
    KtPrintArea& layer = layers[index];
    layer.setPicture(wrapWidth, wrapHeight, pictureX, pictureY, width, height, key, level,
                     userWord);
    if (!layer.attach(this, index, priority, left, top, areaWidth, areaHeight, originX, originY))
        return;
    layerList.add(&layer, 0);
}

void KtLayerViewport::removeLayer(int index, BOOL flush)
{
    if (!validIndex(index))
        return;
    KtCriticalSection::Hold hold(lock);
    KtPrintArea& layer = layers[index];
    if (!layer.owner)
        return;
    const KtRect noted = layer.area;
    layer.clear();
    layerList.remove(&layer);
    recompose(noted, flush);
}

void KtLayerViewport::showLayer(int index, int effect, int level)
{
    if (!validIndex(index))
        return;
    KtPrintArea& layer = layers[index];
    if (!layer.visible && level >= 0)
        layer.level = level;
    layer.visible = 1;
    if (effect != noEffect)
        applyEffect(index, effect);
}

void KtLayerViewport::applyEffect(int index, int effect)
{
    if (!validIndex(index))
        return;
    if (effect == fadeEffect)
        fadeIn(index, 2, 100);
    else
        runEffect(layers[index].area, effect);
}

void KtLayerViewport::runEffect(const KtRect& area, int effect)
{
    recompose(area, FALSE);
    if (!live)
        return;
    // Copying outside the surface would show nothing: the transition keeps
    // to the part of the area that has pixels.
    KtRect onSurface = area;
    // The surface is not locked meanwhile: a lock is held until its unlock,
    // and the window thread paints every copy from it.
    if (onSurface.intersect(KtRect(0, 0, surface.width(), surface.height()))) {
        ViewportScreen screen(*this);
        TransitionRunner(screen, onSurface).run(effect);
    }
    if (effect == noEffect)
        return;
    const RECT whole = area.as<RECT>();
    invalidateRect(&whole, FALSE);
    update();
}

void KtLayerViewport::recompose(const KtRect& area, BOOL flush)
{
    KtCriticalSection::Hold hold(lock);
    if (!live) {
        dirty.unite(area);
        heldBack_.unite(area);
        return;
    }
    KtRect update = area;
    update.unite(heldBack_);
    heldBack_ = KtRect();
    compose(update);
    if (flush) {
        const RECT shown = dirty.as<RECT>();
        dirty = KtRect();
        if (!KtRect::from(shown).isEmpty())
            redrawRect(&shown, FALSE);
    }
}

void KtLayerViewport::compose(const KtRect& requested)
{
    if (!surface.hasPixels())
        return;
    // Only the surface's pixels can change: cutting the area to them first
    // bounds the work, however large the area and small a wrap period.
    KtRect update = requested;
    if (!update.intersect(KtRect(0, 0, surface.width(), surface.height())))
        return;
    // Once for the whole composition: GDI may still be drawing into the
    // layers' surfaces (and key -1 reads their top-left pixels).
    GdiFlush();
    ComposeLayer stack[layerCount];
    int count = 0;
    KtObjectNode* node = layerList.first();
    for (int i = 0; i < layerList.count && count < layerCount; ++i, node = node->next) {
        if (static_cast<KtPrintArea*>(node->object)->composeLayer(update, stack[count]))
            ++count;
    }
    const ComposeFrame frame{surface.pixelAddress(0, 0), surface.stride(), surface.width(),
                             surface.height()};
    const RectEdges changed = LayerComposer::compose(frame, stack, count, update.edges());
    dirty.unite(KtRect(changed.left, changed.top, changed.right, changed.bottom));
}

void KtLayerViewport::fadeLayer(int index, int from, int to, int step, DWORD stepMs)
{
    if (!validIndex(index) || from < 0 || from > 16 || to < 0 || to > 16 || step < 1)
        return;
    KtPrintArea& layer = layers[index];
    if (!live) {
        layer.level = to;
        recompose(layer.area, TRUE);
        return;
    }
    KtFrameTimer timer;
    timer.lastTick = timer.previousTick = GetTickCount();
    const int direction = to >= from ? 1 : -1;
    for (int level = from;; level += direction * step) {
        if ((to - level) * direction < 0)
            level = to;
        layer.level = level;
        recompose(layer.area, TRUE);
        if (level == to)
            break;
        timer.waitFor(stepMs);
    }
}

void KtLayerViewport::fadeIn(int index, int step, DWORD stepMs)
{
    if (validIndex(index))
        fadeLayer(index, layers[index].level, 16, step, stepMs);
}

// The module's thread may be inside a recomposition, a fade or a
// transition, each of which ends in an update of this window: a message
// sent to the thread that is waiting here. The wait answers it. A thread
// that still runs after the limit is not watching stopRequest; it is
// terminated when the destructor closes it, since the viewport it draws on
// is going.
void KtLayerViewport::stopThread()
{
    stopRequest = 1;
    if (animationThread.isRunning())
        KtSentMessageWait::forObject(animationThread.handle, threadStopMilliseconds);
}

void KtLayerViewport::report(int kind, LPARAM lParam)
{
    mouseKind = kind;
    mouseX = LOWORD(lParam);
    mouseY = HIWORD(lParam);
    mouseEvent.signal();
}

LRESULT KtLayerViewport::onLButtonDown(WPARAM, LPARAM lParam)
{
    report(1, lParam);
    return 0;
}

LRESULT KtLayerViewport::onRButtonDown(WPARAM, LPARAM lParam)
{
    report(-1, lParam);
    return 0;
}

LRESULT KtLayerViewport::onMouseMove(WPARAM, LPARAM lParam)
{
    report(2, lParam);
    return 0;
}
