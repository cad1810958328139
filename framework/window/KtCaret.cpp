// KtCaret: making, moving and destroying one window's caret.
#include "KtCaret.h"
#include "KtLayoutCheck.h"
#include <cstddef>

KtCaret::KtCaret() : window(nullptr), width(0), height(0), savedBlinkTime(0)
{
}

KtCaret::~KtCaret()
{
    destroy();
}

int KtCaret::create(HWND owner, int caretWidth, int caretHeight, HBITMAP bitmap)
{
    destroy();
    if (exists())
        return 0;
    if (!CreateCaret(owner, bitmap, caretWidth, caretHeight))
        return 0;
    window = owner;
    width = caretWidth;
    height = caretHeight;
    savedBlinkTime = GetCaretBlinkTime();
    return 1;
}

void KtCaret::destroy()
{
    if (!exists() || !DestroyCaret())
        return;
    SetCaretBlinkTime(savedBlinkTime);
    window = nullptr;
    width = 0;
    height = 0;
    savedBlinkTime = 0;
}

void KtCaret::setPos(int x, int y)
{
    if (exists())
        SetCaretPos(x, y);
}

KtPoint KtCaret::getPos()
{
    position = KtPoint(-1, -1);
    if (exists()) {
        POINT point;
        if (GetCaretPos(&point))
            position = KtPoint::from(point);
    }
    return position;
}

// Viewports reach the caret's fields by position.
#ifndef _WIN64
static_assert(offsetof(KtCaret, window) == 4, "window follows the vtable");
static_assert(offsetof(KtCaret, width) == 8, "width");
static_assert(offsetof(KtCaret, height) == 12, "height");
static_assert(offsetof(KtCaret, savedBlinkTime) == 16, "savedBlinkTime");
static_assert(offsetof(KtCaret, position) == 20, "position");
static_assert(sizeof(KtCaret) == 32, "vtable, four words and a point");
#else
static_assert(ktFieldsInOrder({offsetof(KtCaret, window), offsetof(KtCaret, width),
                               offsetof(KtCaret, height), offsetof(KtCaret, savedBlinkTime),
                               offsetof(KtCaret, position)}),
              "vtable, four words and a point");
#endif
