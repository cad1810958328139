// KtViewport: the one-line Shift-JIS text field (characters, caret, drawing, end of input).
#include "KtViewport.h"
#include <string>

namespace {
const UINT backspace = 8;
const UINT carriageReturn = 13;

// The first half of a double-byte character that came as WM_CHAR, waiting
// for its second half. It is kept here, never in inputText, so the text
// never holds half a character whether the pair was posted or sent; the
// next character to any field of this thread either completes it or drops it.
struct PendingLead {
    HWND window;
    BYTE lead;
};
thread_local PendingLead pendingLead = {nullptr, 0};

void holdLead(HWND window, BYTE lead)
{
    pendingLead = {window, lead};
}

// Takes the waiting first half meant for window, if any.
bool takeLead(HWND window, BYTE& lead)
{
    const PendingLead pending = pendingLead;
    pendingLead = {nullptr, 0};
    lead = pending.lead;
    return pending.window == window && pending.window != nullptr;
}

// Whether the two bytes make one character of the ANSI code page. No
// double-byte code page has second bytes below 0x40 (a NUL, a control code,
// a digit); the conversion refuses pairs the code page does not define.
bool isDoubleByteCharacter(BYTE lead, BYTE trail)
{
    if (!IsDBCSLeadByte(lead) || trail < 0x40)
        return false;
    const char pair[2] = {char(lead), char(trail)};
    WCHAR wide[2];
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) == 1;
}
}  // namespace

// --- Characters ---------------------------------------------------------------

LRESULT KtViewport::onChar(WPARAM wParam, LPARAM lParam)
{
    if (!inputActive)
        return defaultProc(WM_CHAR, wParam, lParam);
    KtCriticalSection::Hold hold(inputLock);
    const UINT code = static_cast<UINT>(wParam);
    const BYTE byte = BYTE(code & 0xFF);
    BYTE lead = 0;
    bool changed = false;
    if (takeLead(handle, lead) && isDoubleByteCharacter(lead, byte))
        changed = appendPair(lead, byte);
    else if (code == backspace)
        changed = removeLastCharacter();
    else if (code == carriageReturn)
        changed = false;
    else if (code < 32)
        return 0;
    else if (IsDBCSLeadByte(byte))
        holdLead(handle, byte);   // shown once its second half has come
    else
        changed = appendByte(byte);
    if (changed) {
        const SIZE measured = measureText();
        // One cell more than the text, so a removed character's cell is repainted.
        showText(charWidth + measured.cx, measured.cy ? measured.cy : caretHeight, measured.cx);
    }
    return 0;
}

LRESULT KtViewport::onImeChar(WPARAM wParam, LPARAM lParam)
{
    // Typing while the field is off must not leave text behind for the next
    // time the scenario turns it on; the system makes two WM_CHARs of it,
    // which the field then ignores as well.
    if (!inputActive)
        return defaultProc(WM_IME_CHAR, wParam, lParam);
    KtCriticalSection::Hold hold(inputLock);
    BYTE waiting;
    takeLead(handle, waiting);   // a first half followed by a whole character is dropped
    const BYTE lead = BYTE((wParam >> 8) & 0xFF);
    const BYTE trail = BYTE(wParam & 0xFF);
    if (!IsDBCSLeadByte(lead)) {
        // A single-byte character: exactly as if it had been typed. The lock
        // is re-entered on this thread by onChar.
        SendMessageA(handle, WM_CHAR, wParam, lParam);
        return 0;
    }
    // Any process may post a pair with a second byte of 0 or one that no
    // character has: taken, it would fuse with the next character.
    if (isDoubleByteCharacter(lead, trail) && appendPair(lead, trail)) {
        const SIZE measured = measureText();
        showText(measured.cx, measured.cy, measured.cx);
    }
    return 0;
}

bool KtViewport::removeLastCharacter()
{
    const int length = inputText.length();
    if (length == 0)
        return false;
    const char* start = inputText.text();
    const char* last = CharPrevA(start, start + length);
    if (last == start) {
        inputText.clear();
        return true;
    }
    // Everything before the last character, which goes whole.
    std::string kept(start, last);
    inputText.create(inputText.growth(), kept.c_str());
    return true;
}

bool KtViewport::appendByte(BYTE code)
{
    if (inputText.length() >= inputMaxLength)
        return false;
    const char text[2] = {char(code), '\0'};
    inputText.append(text);
    return true;
}

// A character that would not fit whole is left out, both of its bytes.
bool KtViewport::appendPair(BYTE lead, BYTE trail)
{
    if (inputText.length() >= inputMaxLength - 1)
        return false;
    const char text[3] = {char(lead), char(trail), '\0'};
    inputText.append(text);
    return true;
}

// --- Measuring and showing ----------------------------------------------------

SIZE KtViewport::measureText()
{
    SIZE size = {0, 0};
    KtDC dc;
    dc.attach(handle, KtDC::windowKind);
    if (!dc.handle())
        return size;
    if (font.handle)
        dc.select(font.handle, KtDC::fontCode);
    GetTextExtentPoint32A(dc.handle(), inputText.text(), inputText.length(), &size);
    if (font.handle)
        dc.restore(KtDC::fontCode);
    dc.release();
    return size;
}

void KtViewport::showText(int width, int height, int measuredWidth)
{
    const bool hasCaret = caret.exists();
    if (hasCaret)
        HideCaret(handle);
    redraw(inputX, inputY, width, height, FALSE);
    caretX = inputX + measuredWidth;
    if (hasCaret) {
        caret.setPos(caretX, caretY);
        ShowCaret(handle);
    }
}

void KtViewport::drawInputText(HDC target)
{
    if (inputText.length() == 0)
        return;
    KtDC dc;
    dc.attach(target, KtDC::borrowedKind);
    if (font.handle)
        dc.select(font.handle, KtDC::fontCode);
    dc.select(TRANSPARENT, KtDC::bkModeCode);
    dc.select(textColor, KtDC::textColorCode);
    TextOutA(target, inputX, inputY, inputText.text(), inputText.length());
    dc.restore(KtDC::textColorCode);
    dc.restore(KtDC::bkModeCode);
    if (font.handle)
        dc.restore(KtDC::fontCode);
}

// --- Caret ----------------------------------------------------------------------

LRESULT KtViewport::onSetFocus(WPARAM, LPARAM)
{
    KtCriticalSection::Hold hold(inputLock);
    if (inputActive && !caretVisible && caret.create(handle, caretWidth, caretHeight, nullptr)) {
        caret.setPos(caretX, caretY);
        ShowCaret(handle);
        caretVisible = 1;
    }
    return 0;
}

// The caret goes whenever the focus leaves, also once a module has turned
// input off by clearing inputActive alone.
LRESULT KtViewport::onKillFocus(WPARAM, LPARAM)
{
    KtCriticalSection::Hold hold(inputLock);
    if (caretVisible)
        dropCaret();
    return 0;
}

void KtViewport::dropCaret()
{
    const KtPoint at = caret.getPos();
    caretX = at.x;
    caretY = at.y;
    HideCaret(handle);
    caret.destroy();
    caretVisible = 0;
}

// --- End of input -------------------------------------------------------------

const char* KtViewport::endInput()
{
    if (!inputActive && !caretVisible)
        return inputText.text();
    if (alive())
        SendMessageA(handle, WM_KILLFOCUS, 0, 0);   // destroys the caret
    int width;
    {
        KtCriticalSection::Hold hold(inputLock);
        inputActive = 0;
        width = charWidth * inputText.length();
    }
    redraw(inputX, inputY, width, caretHeight, FALSE);
    return inputText.text();
}
