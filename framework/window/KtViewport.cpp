// KtViewport: construction, class parameters, painting, mouse routing to objects and teardown.
#include "KtViewport.h"
#include "KtHitRegion.h"
#include <cstddef>

// Scenario modules reach these fields by position.
struct KtViewportLayout {
#ifndef _WIN64
    static_assert(sizeof(KtChildWindow) == 76);
    static_assert(offsetof(KtViewport, surface) == 76);
    static_assert(offsetof(KtViewport, paintSuspended) == 168);
    static_assert(offsetof(KtViewport, showCmd) == 172);
    static_assert(offsetof(KtViewport, objectLock) == 176);
    static_assert(offsetof(KtViewport, recordLock) == 204);
    static_assert(offsetof(KtViewport, objects) == 232);
    static_assert(offsetof(KtViewport, records) == 244);
    static_assert(offsetof(KtViewport, inputActive) == 256);
    static_assert(offsetof(KtViewport, inputMaxLength) == 260);
    static_assert(offsetof(KtViewport, inputX) == 264);
    static_assert(offsetof(KtViewport, inputY) == 268);
    static_assert(offsetof(KtViewport, caret) == 272);
    static_assert(offsetof(KtViewport, caretX) == 304);
    static_assert(offsetof(KtViewport, caretY) == 308);
    static_assert(offsetof(KtViewport, caretWidth) == 312);
    static_assert(offsetof(KtViewport, caretHeight) == 316);
    static_assert(offsetof(KtViewport, charWidth) == 320);
    static_assert(offsetof(KtViewport, font) == 324);
    static_assert(offsetof(KtViewport, textColor) == 392);
    static_assert(offsetof(KtViewport, inputText) == 396);
    static_assert(offsetof(KtViewport, caretVisible) == 408);
    static_assert(offsetof(KtViewport, inputLock) == 412);
    static_assert(sizeof(KtViewport) == 440);
#else
    static_assert(offsetof(KtViewport, surface) < offsetof(KtViewport, paintSuspended));
    static_assert(offsetof(KtViewport, paintSuspended) < offsetof(KtViewport, showCmd));
    static_assert(offsetof(KtViewport, showCmd) < offsetof(KtViewport, objectLock));
    static_assert(offsetof(KtViewport, objectLock) < offsetof(KtViewport, recordLock));
    static_assert(offsetof(KtViewport, recordLock) < offsetof(KtViewport, objects));
    static_assert(offsetof(KtViewport, objects) < offsetof(KtViewport, records));
    static_assert(offsetof(KtViewport, records) < offsetof(KtViewport, inputActive));
    static_assert(offsetof(KtViewport, inputActive) < offsetof(KtViewport, inputMaxLength));
    static_assert(offsetof(KtViewport, inputMaxLength) < offsetof(KtViewport, inputX));
    static_assert(offsetof(KtViewport, inputX) < offsetof(KtViewport, inputY));
    static_assert(offsetof(KtViewport, inputY) < offsetof(KtViewport, caret));
    static_assert(offsetof(KtViewport, caret) < offsetof(KtViewport, caretX));
    static_assert(offsetof(KtViewport, caretX) < offsetof(KtViewport, caretY));
    static_assert(offsetof(KtViewport, caretY) < offsetof(KtViewport, caretWidth));
    static_assert(offsetof(KtViewport, caretWidth) < offsetof(KtViewport, caretHeight));
    static_assert(offsetof(KtViewport, caretHeight) < offsetof(KtViewport, charWidth));
    static_assert(offsetof(KtViewport, charWidth) < offsetof(KtViewport, font));
    static_assert(offsetof(KtViewport, font) < offsetof(KtViewport, textColor));
    static_assert(offsetof(KtViewport, textColor) < offsetof(KtViewport, inputText));
    static_assert(offsetof(KtViewport, inputText) < offsetof(KtViewport, caretVisible));
    static_assert(offsetof(KtViewport, caretVisible) < offsetof(KtViewport, inputLock));
#endif
};

KtViewport::KtViewport(HWND parentWindow, const KtString& name, const KtRect& area)
    : KtChildWindow(parentWindow, name, area), paintSuspended(0), showCmd(SW_SHOWNORMAL),
      inputActive(0), inputMaxLength(16), inputX(0), inputY(0), caretX(0), caretY(0),
      caretWidth(0), caretHeight(0), charWidth(0), textColor(RGB(255, 255, 255)), caretVisible(0)
{
    surface.create(area.width(), area.height());
}

KtViewport::~KtViewport()
{
    endInput();
    {
        KtCriticalSection::Hold hold(objectLock);
        detachOwnedObjects();
        objects.clear();   // deletes the objects handed over as owned
    }
    {
        KtCriticalSection::Hold hold(recordLock);
        records.clear();
    }
    // The members go next, font, caret and surface among them; the window
    // is closed last, by KtWindow.
}

void KtViewport::detachOwnedObjects()
{
    KtObjectNode* node = objects.first();
    for (int i = 0; i < objects.count; ++i, node = node->next) {
        auto* object = static_cast<KtHitRegion*>(node->object);
        // Another viewport's object only borrowed a place in this list.
        if (object && object->owner == this)
            object->detach();
    }
}

int KtViewport::windowType()
{
    return 5;
}

UINT KtViewport::classStyle()
{
    return CS_BYTEALIGNCLIENT;
}

HBRUSH KtViewport::classBackground()
{
    return nullptr;   // the surface is the whole picture: nothing to erase
}

const char* KtViewport::className()
{
    return "KtViewport";
}

const char* KtViewport::windowName()
{
    return "KtViewport";
}

int KtViewport::showCommand()
{
    return showCmd;
}

int KtViewport::createShown(int command)
{
    showCmd = command;
    return create();
}

// --- Mouse routing ------------------------------------------------------------

LRESULT KtViewport::windowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_MOUSEMOVE || msg == WM_LBUTTONDOWN || msg == WM_RBUTTONDOWN)
        offerToObjects(msg, wParam, lParam);
    return KtChildWindow::windowProc(msg, wParam, lParam);
}

void KtViewport::offerToObjects(UINT msg, WPARAM wParam, LPARAM lParam)
{
    KtCriticalSection::Hold hold(objectLock);
    KtObjectNode* node = objects.first();
    for (int i = 0; i < objects.count; ++i, node = node->next) {
        auto* object = static_cast<KtHitRegion*>(node->object);
        if (object && object->mouseTest(msg, wParam, lParam))
            return;
    }
}

// --- Painting -----------------------------------------------------------------

void KtViewport::onPaint(PAINTSTRUCT* paint)
{
    if (!inputActive) {
        // Input was turned off by clearing the flag: the caret must not
        // blink on over a field that takes no keys.
        if (caretVisible) {
            KtCriticalSection::Hold hold(inputLock);
            if (caretVisible && !inputActive)
                dropCaret();
        }
        copySurface(paint->hdc, paint->rcPaint);
        return;
    }
    KtCriticalSection::Hold hold(inputLock);
    // The caret is drawn by inverting pixels: hidden, it cannot be painted over.
    if (caret.exists())
        HideCaret(handle);
    copySurface(paint->hdc, paint->rcPaint);
    drawInputText(paint->hdc);
    if (caret.exists())
        ShowCaret(handle);
}

void KtViewport::copySurface(HDC dc, const RECT& area)
{
    if (paintSuspended)
        return;
    KtRect r = KtRect::from(area);   // normalised on the way in
    // blitTo reads a zero size as the whole surface; an empty area copies nothing.
    if (r.isEmpty())
        return;
    KtDC target;
    target.attach(dc, KtDC::borrowedKind);
    surface.blitTo(target, r.left, r.top, r.width(), r.height(), r.left, r.top);
}
