// KtViewport: the one-line Shift-JIS text field (characters, caret, drawing, end of input).
#include "KtViewport.h"
#include <string>

namespace {
const UINT backspace = 8;
const UINT carriageReturn = 13;

// Whether text ends inside a double-byte character (a lead byte whose trail
// has not arrived yet).
bool endsWithLoneLeadByte(const char* text, int length)
{
    const char* end = text + length;
    const char* last = nullptr;
    for (const char* p = text; p < end; p = CharNextA(p))
        last = p;
    return last && end - last == 1 && IsDBCSLeadByte(BYTE(*last));
}
}  // namespace

// --- Characters ---------------------------------------------------------------

LRESULT KtViewport::onChar(WPARAM wParam, LPARAM lParam)
{
    if (!inputActive)
        return defaultProc(WM_CHAR, wParam, lParam);
    KtCriticalSection::Hold hold(inputLock);
    const UINT code = static_cast<UINT>(wParam);
    bool changed = false;
    if (code == backspace)
        changed = removeLastCharacter();
    else if (code == carriageReturn)
        changed = false;
    else if (code < 32)
        return 0;
    else
        changed = appendByte(BYTE(code & 0xFF));
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
    const BYTE lead = BYTE((wParam >> 8) & 0xFF);
    const BYTE trail = BYTE(wParam & 0xFF);
    if (!IsDBCSLeadByte(lead)) {
        // A single-byte character: exactly as if it had been typed. The lock
        // is re-entered on this thread by onChar.
        SendMessageA(handle, WM_CHAR, wParam, lParam);
        return 0;
    }
    if (inputText.length() < inputMaxLength - 1)
        appendDoubleByte(lead, trail);
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
    const int length = inputText.length();
    if (length >= inputMaxLength)
        return false;
    if (IsDBCSLeadByte(code) && !endsWithLoneLeadByte(inputText.text(), length)
        && length >= inputMaxLength - 1) {
        // The first half of a character that arrives in two WM_CHARs and
        // would not fit whole: leave it out, and its second half with it.
        MSG trailMessage;
        PeekMessageA(&trailMessage, handle, WM_CHAR, WM_CHAR, PM_REMOVE);
        return false;
    }
    const char text[2] = {char(code), '\0'};
    inputText.append(text);
    return true;
}

void KtViewport::appendDoubleByte(BYTE lead, BYTE trail)
{
    const char text[3] = {char(lead), char(trail), '\0'};
    inputText.append(text);
    const SIZE measured = measureText();
    showText(measured.cx, measured.cy, measured.cx);
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

LRESULT KtViewport::onKillFocus(WPARAM, LPARAM)
{
    KtCriticalSection::Hold hold(inputLock);
    if (inputActive && caretVisible) {
        const KtPoint at = caret.getPos();
        caretX = at.x;
        caretY = at.y;
        HideCaret(handle);
        caret.destroy();
        caretVisible = 0;
    }
    return 0;
}

// --- End of input -------------------------------------------------------------

const char* KtViewport::endInput()
{
    if (!inputActive)
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
