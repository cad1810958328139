// KtAviView: a child window that plays a movie file in an MCI window.
#pragma once
#include "KtChildWindow.h"
#include "KtEvent.h"
#include "KtMovieWindow.h"

// The scenario plays and stops the movie by posting playMessage and
// stopMessage to the view, and learns the end of playback through doneEvent
// and through one space key press that the view posts to its parent window.
// A movie that cannot be played is reported once, when the view is made, and
// then every play request ends at once, so that a waiting scenario goes on.
// All MCI calls run on the thread that owns the view. Scenario modules read
// the fields by position.
class KtAviView : public KtChildWindow {
public:
    static constexpr UINT playMessage = 1840;   // play from the current position to the end
    static constexpr UINT stopMessage = 1841;   // stop, and return once stopped

    // movieName is resolved to a full path; (x, y) is where the movie
    // stands in the view's client area. The window is made by create.
    KtAviView(HWND parentWindow, const KtString& name, const KtRect& area,
              const KtString& movieName, int x, int y);
    // Stops a playing movie before its window goes.
    ~KtAviView() override;

    int windowType() override;                                             // 1: 37
    HBRUSH classBackground() override;                                     // 18: none
    const char* className() override;                                      // 20
    const char* windowName() override;                                     // 22
    // void onCreated(): opens the movie; a movie that is missing or cannot
    // be played is reported in a box and leaves the view empty.
    void onCreated() override;                                             // 33
    // playMessage and stopMessage return 0; the rest go to DefWindowProcA.
    LRESULT onUserMessage(UINT msg, WPARAM wParam, LPARAM lParam) override; // 36
    // onMciNotify(UINT result, MCIDEVICEID device): the end of playback.
    LRESULT onMciNotify(WPARAM wParam, LPARAM lParam) override;            // 83

    KtMovieWindow player;
    KtEvent doneEvent;     // manual reset; signalled when built and at each end of playback
    KtString fileName;     // full path of the movie file
    int movieX;
    int movieY;

private:
    void report(const char* what);
    void playToEnd();
    void stopPlaying();
    void endPlayback();
    // Set when a stop finds the movie playing: the stopped play is still
    // answered, and that answer is not the end.
    void setStopAsked(bool asked);
    bool takeStopAsked();
};
