// HogePictures: the sample game's picture window, where pictures change through every kind of transition.
#pragma once
#include <windows.h>

class KtLayerViewport;

// Owns a thread with a message loop that owns a layer viewport over the
// game's window, as the host's window thread owns the windows it makes. The
// scenario thread draws pictures into the viewport's layers and shows them
// with transitions. stop() must run before the module is unloaded.
class HogePictures {
public:
    HogePictures() = default;
    HogePictures(const HogePictures&) = delete;
    HogePictures& operator=(const HogePictures&) = delete;

    // Makes the viewport as a child of parent (the scenario host window),
    // covering its client area, disabled so that clicks reach the host, and
    // shows the first picture. False when the window could not be made.
    bool start(HWND parent);
    // Ends the thread, which takes the window with it, then frees the viewport.
    void stop();

    // The title: the picture of the file with the lines, faded in, under
    // a logo layer. The lines must outlive the title.
    void showTitle(const char* file, const char* const* lines, int lineCount);
    // A title picture (the same scene at another hour) under the logo,
    // through the next transition of the cycle, which goes through every
    // family first (wipe, line scan, random lines, dissolve, fade, at once)
    // and then every other code; the code is written at the top left.
    // Returns the code it used.
    int cycleTitle(const char* file);
    // A scene: the picture of the file (BMP, "MCG ", "SLD", or anything a
    // plug-in reads), with dialogue lines in a box at the bottom, through
    // the transition `code`.
    void showScene(const char* file, const char* const* lines, int lineCount, int code);
    // The scene and what it waits for, where scripts that play the game
    // read them: the window property statusProperty holds
    // 1 + scene * 16 + waitingFor.
    static constexpr const char* statusProperty = "HogeStatus";
    void setStatus(int scene, int waitingFor);

private:
    static unsigned __stdcall loop(void* self);
    bool onThread(void (*work)(HogePictures&));
    int nextLayer();
    void defineFull(int index, int key, int startLevel);
    void defineLogo(int startLevel);
    void showPicture(const char* file, const char* const* lines, int lineCount, int code,
                     bool labelled = false);

    HANDLE thread_ = nullptr;
    DWORD threadId_ = 0;
    HANDLE ready_ = nullptr;
    HWND parent_ = nullptr;
    KtLayerViewport* view_ = nullptr;
    int shownLayer_ = 0;
    int priority_ = 0;
    int nextCode_ = 0;
    int logoLayer_ = 0;
    const char* const* titleLines_ = nullptr;   // the caller's
    int titleLineCount_ = 0;
};
