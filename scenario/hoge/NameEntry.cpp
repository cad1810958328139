// NameEntry: a viewport with a prompt, turned into a text field, read when Return is pressed.
#include "NameEntry.h"
#include "HogeRequests.h"
#include "KtVelka.h"
#include "KtViewport.h"

namespace NameEntry {

namespace {
const char* const fieldName = "名前入力";
constexpr int width = 360;
constexpr int height = 72;
constexpr int textLeft = 16;
constexpr int textTop = 36;
constexpr int fontHeight = 20;
constexpr int returnKey = 0x0D;
constexpr int escapeKey = 0x1B;
constexpr int anyInputMode = 0;
constexpr BYTE background = 4;   // dark blue in every new surface's table
constexpr BYTE underline = 7;    // light grey

HFONT makeFont(int pixelHeight)
{
    return CreateFontA(pixelHeight, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "");
}

// The prompt above the field and a line under it, drawn into the surface.
void drawPrompt(KtViewport& field)
{
    KtVSurface& surface = field.surface;
    surface.fill(background, nullptr);
    for (int x = textLeft; x < width - textLeft; ++x)
        *surface.pixelAddress(x, textTop + fontHeight + 2) = underline;
    HFONT font = makeFont(16);
    HDC dc = surface.lock().handle();
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    const char prompt[] = "名前を入力してください（Return で決定）";
    TextOutA(dc, textLeft, 8, prompt, sizeof prompt - 1);
    SelectObject(dc, oldFont);
    surface.unlock();
    DeleteObject(font);
}

void turnInputOn(KtViewport& field)
{
    KtCriticalSection::Hold hold(field.inputLock);
    field.inputText.clear();
    field.inputMaxLength = 16;
    field.inputX = textLeft;
    field.inputY = textTop;
    field.caretX = textLeft;
    field.caretY = textTop;
    field.caretWidth = 2;
    field.caretHeight = fontHeight;
    field.charWidth = fontHeight;
    field.textColor = RGB(255, 255, 160);
    // The viewport deletes the font when it goes.
    field.font.handle = makeFont(fontHeight);
    field.inputActive = 1;
}

}  // namespace

bool run(KtVelka* velka, KtString& name)
{
    KtViewport* field = HogeRequests::openPanel(
        velka, fieldName, KtRect((640 - width) / 2, 180, (640 + width) / 2, 180 + height));
    if (!field)
        return WaitForSingleObject(velka->quitRequest.handle, 0) != WAIT_OBJECT_0;
    drawPrompt(*field);
    turnInputOn(*field);
    field->invalidateRect(nullptr, FALSE);
    KtWindow* previousFocus = velka->focusWindow;
    HogeRequests::focus(velka, field);

    int key;
    do
        key = HogeRequests::waitForInput(velka, anyInputMode);
    while (key != returnKey && key != escapeKey && key != -1);

    if (key == returnKey) {
        KtCriticalSection::Hold hold(field->inputLock);
        name = KtString(field->inputText.text());
    }
    // The window thread must not be asked to focus a window that is gone.
    HogeRequests::focus(velka, previousFocus == field ? nullptr : previousFocus);
    HogeRequests::destroyPanel(velka, fieldName);
    return key != -1;
}

}  // namespace NameEntry
