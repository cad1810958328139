// KtLayerViewport: the true-colour viewport that composes 24 layers and shows changes through transitions.
#pragma once
#include "KtCriticalSection.h"
#include "KtEvent.h"
#include "KtLayerList.h"
#include "KtPrintArea.h"
#include "KtThread.h"
#include "KtViewport24.h"
#include "KtWordList.h"

// The scenario shows its pictures here. Each of the 24 layers is a print
// area; the defined ones are kept in layerList by priority and blended,
// lowest priority first, into the surface wherever something changed. The
// changed part then reaches the screen at once or through a transition (see
// TransitionRunner for the codes; 9 fades the layer in, 255 shows nothing).
//
// Threads: the scenario thread defines, shows, removes and fades layers and
// runs transitions; the window thread paints from the surface and reports
// the mouse. `lock` guards the layers, the list and the dirty area and is
// re-entrant; transitions do not hold it while they pause.
//
// Scenario modules reach the fields by position, so their order is fixed.
class KtLayerViewport : public KtViewport24 {
public:
    static const int layerCount = 24;

    KtLayerViewport(HWND parentWindow, const KtString& name, int left, int top, int width,
                    int height);
    // Stops the module's thread, then the members go in reverse order.
    ~KtLayerViewport() override;                                  // 0

    int windowType() override;                                    // 1: 14
    // Mouse reports: (UINT keys, POINTS client position); each returns 0.
    LRESULT onLButtonDown(WPARAM wParam, LPARAM lParam) override;  // 47
    LRESULT onRButtonDown(WPARAM wParam, LPARAM lParam) override;  // 50
    LRESULT onMouseMove(WPARAM wParam, LPARAM lParam) override;    // 54

    void resetInput(int mode);
    // Gives layer `index` a picture of width × height at (pictureX,
    // pictureY) of picture space (wrapping with wrapWidth × wrapHeight in
    // wrap mode), an area (left, top, areaWidth, areaHeight) showing picture
    // point (originX, originY) at its corner, a key, a level and a priority
    // (negative: the index). The layer starts invisible.
    void defineLayer(int index, int wrapWidth, int wrapHeight, int pictureX, int pictureY,
                     int width, int height, int left, int top, int areaWidth, int areaHeight,
                     int originX, int originY, int key, int level, int priority, int userWord);
    void removeLayer(int index, BOOL flush);
    // A hidden layer becomes visible (at `level` unless it is negative) and
    // is shown with the transition; 255 leaves the screen as it is.
    void showLayer(int index, int effect, int level);
    void applyEffect(int index, int effect);
    void runEffect(const KtRect& area, int effect);
    void recompose(const KtRect& area, BOOL flush);
    void fadeLayer(int index, int from, int to, int step, DWORD stepMs);
    void fadeIn(int index, int step, DWORD stepMs);
    // Sets stopRequest and waits, answering messages sent to this thread,
    // until animationThread has ended or threadStopMilliseconds have passed.
    void stopThread();
    static const DWORD threadStopMilliseconds = 3000;

    KtPrintArea layers[layerCount];
    KtLayerList layerList;
    KtThread animationThread;   // the module's; the viewport only stops and closes it
    int threadWord;
    KtCriticalSection lock;
    int live;                   // 0 holds composing and transitions back
    int stopRequest;
    KtRect dirty;               // changed since the last flush
    int inputMode;
    KtEvent mouseEvent;         // manual reset; signalled on every mouse report
    int mouseKind;              // 1 left press, −1 right press, 2 move
    int mouseX;
    int mouseY;
    int mouseWord1;
    int mouseWord2;
    int mouseWord3;
    KtWordList records;

private:
    friend struct KtLayerViewportLayout;
    void compose(const KtRect& update);
    void report(int kind, LPARAM lParam);

    // What recompositions collected while `live` was 0 and have not been
    // drawn since: the next recomposition draws it too. (Not part of the
    // module's layout: it follows every field the module knows.)
    KtRect heldBack_;
};
