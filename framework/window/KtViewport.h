// KtViewport: a child window that shows an 8-bit surface, with a line of text input and interactive objects.
#pragma once
#include "KtCaret.h"
#include "KtChildWindow.h"
#include "KtCriticalSection.h"
#include "KtFont.h"
#include "KtInteractiveObjectList.h"
#include "KtRecordList.h"
#include "KtVSurface.h"

// The scenario draws into surface and asks for a repaint of what changed;
// WM_PAINT copies the invalid part of the surface and nothing else, so the
// surface is the only picture the window has.
//
// Mouse moves and left or right presses are shown to the interactive objects
// (hit-region objects, KtHitRegion) first, in list order; the first that
// takes the message ends the walk, and the window's own handler still runs.
//
// The viewport doubles as a one-line Shift-JIS text field. The host never
// turns it on: the scenario module sets inputX, inputY, the caret sizes,
// charWidth, font.handle, textColor and inputMaxLength under inputLock and
// then sets inputActive. Characters arrive as WM_CHAR (single bytes) and
// WM_IME_CHAR (double-byte characters whole); the text is drawn over the
// surface with a caret behind it while the viewport has the focus.
//
// Scenario modules read and write the fields by position and call the slots
// by number: neither order may change. Every handler that touches fields 14
// to 27 (inputActive to caretVisible) holds inputLock; objectLock guards
// objects and recordLock guards records.
class KtViewport : public KtChildWindow {
public:
    // The surface takes the rectangle's size.
    KtViewport(HWND parentWindow, const KtString& name, const KtRect& area);
    // Ends text input, detaches the objects this viewport owns, empties both
    // lists, then frees the font, the caret and the surface before the
    // window is closed.
    ~KtViewport() override;                                       // 0

    int windowType() override;                                    // 1: 5
    // Objects see mouse moves and left and right presses first.
    LRESULT windowProc(UINT msg, WPARAM wParam, LPARAM lParam) override; // 12
    UINT classStyle() override;                                   // 13: CS_BYTEALIGNCLIENT
    HBRUSH classBackground() override;                            // 18: none
    const char* className() override;                             // 20
    const char* windowName() override;                            // 22
    int showCommand() override;                                   // 31: showCmd
    // void onPaint(PAINTSTRUCT* ps): the surface, then the input text.
    void onPaint(PAINTSTRUCT* paint) override;                    // 35
    // onChar(UINT code, key data): edits the text while input is on.
    LRESULT onChar(WPARAM wParam, LPARAM lParam) override;        // 57
    // onSetFocus(HWND losing, 0): makes the caret while input is on.
    LRESULT onSetFocus(WPARAM wParam, LPARAM lParam) override;    // 73
    // onKillFocus(HWND gaining, 0): keeps the caret position and destroys it.
    LRESULT onKillFocus(WPARAM wParam, LPARAM lParam) override;   // 74
    // onImeChar(WORD lead << 8 | trail, key data): a double-byte character whole.
    LRESULT onImeChar(WPARAM wParam, LPARAM lParam) override;     // 81

    // --- Slots of its own -------------------------------------------------------
    virtual int createShown(int command);                         // 85

    // Turns input off (destroying the caret), repaints the input area and
    // returns the text typed; the text stays in inputText.
    const char* endInput();

    KtVSurface surface;            // 7: the picture of the window
    int paintSuspended;            // 8: non-zero keeps the surface off the screen
    int showCmd;                   // 9
    KtCriticalSection objectLock;  // 10
    KtCriticalSection recordLock;  // 11
    KtInteractiveObjectList objects; // 12: hit-region objects
    KtRecordList records;          // 13: the scenario's own; only emptied here
    int inputActive;               // 14
    int inputMaxLength;            // 15: bytes, 16 at first
    int inputX;                    // 16: top-left of the text, client coordinates
    int inputY;                    // 17
    KtCaret caret;                 // 18: exists while focused with input on
    int caretX;                    // 19: kept while the caret does not exist
    int caretY;                    // 20
    int caretWidth;                // 21
    int caretHeight;               // 22: also the redraw height of an empty text
    int charWidth;                 // 23: added to redraw widths
    KtFont font;                   // 24: its handle is deleted with the viewport
    COLORREF textColor;            // 25
    KtString inputText;            // 26: the Shift-JIS bytes typed so far
    int caretVisible;              // 27
    KtCriticalSection inputLock;   // 28

protected:
    // Copies the normalised area of the surface to the same place of dc,
    // unless painting is suspended.
    void copySurface(HDC dc, const RECT& area);

private:
    friend struct KtViewportLayout;

    void offerToObjects(UINT msg, WPARAM wParam, LPARAM lParam);
    void detachOwnedObjects();
    void drawInputText(HDC dc);
    // The text's extent in the input font.
    SIZE measureText();
    // Repaints the text area width x height from (inputX, inputY) and moves
    // the caret behind the text measured as width.
    void showText(int width, int height, int measuredWidth);
    bool removeLastCharacter();
    bool appendByte(BYTE code);
    bool appendPair(BYTE lead, BYTE trail);
    // Keeps the caret's position, then hides and destroys it.
    void dropCaret();
};
