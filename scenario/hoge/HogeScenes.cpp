// HogeScenes: the sample game's name entry and choice map, the windows a scene asks of the host.
#include "HogeScenes.h"
#include "HogeWindows.h"
#include "KtHitRegion.h"
#include "KtMessage.h"
#include "KtPopupViewport.h"
#include "KtVelka.h"
#include "KtViewport.h"

namespace {

constexpr int returnCode = 13;
constexpr int nameBytes = 16;   // eight double-byte characters

// Set by the choice map's callback on the window thread.
HANDLE choiceMade;
volatile LONG choicePressed;

void __cdecl onChoiceRegion(KtHitRegion*, UINT message, int region)
{
    if (message == WM_LBUTTONDOWN && region > 0) {
        InterlockedExchange(&choicePressed, region);
        SetEvent(choiceMade);
    }
}

// Colours of the choice map: 0 background, 1 box, 2 frame, 255 text.
void paintChoices(KtVSurface& s, const char* first, const char* second)
{
    RGBQUAD table[256] = {};
    table[0] = RGBQUAD{40, 20, 20, 0};
    table[1] = RGBQUAD{160, 90, 40, 0};
    table[2] = RGBQUAD{240, 220, 200, 0};
    table[255] = RGBQUAD{255, 255, 255, 0};
    s.setColourRange(table, 0, 256);
    s.fill(0, nullptr);
    const char* labels[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        const int x = i * (HogeScenes::choiceWidth + HogeScenes::choiceGap);
        KtRect frame(x, 0, x + HogeScenes::choiceWidth, HogeScenes::choiceHeight);
        s.fill(2, &frame);
        KtRect box(x + 3, 3, x + HogeScenes::choiceWidth - 3, HogeScenes::choiceHeight - 3);
        s.fill(1, &box);
        KtDC& dc = s.lock();
        HFONT font = CreateFontA(32, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "");
        HGDIOBJ old = SelectObject(dc.handle(), font);
        SetBkMode(dc.handle(), TRANSPARENT);
        SetTextColor(dc.handle(), RGB(255, 255, 255));
        TextOutA(dc.handle(), x + 38, 22, labels[i], lstrlenA(labels[i]));
        SelectObject(dc.handle(), old);
        DeleteObject(font);
        GdiFlush();
        s.unlock();
    }
}

// The mask: region 1 under the first box, 2 under the second, 0 between.
KtHitRegion* makeMap(int width, int height)
{
    auto* map = new KtHitRegion(0, 0, &onChoiceRegion, TRUE);
    map->create(width, height);
    for (int y = 0; y < height; ++y) {
        BYTE* row = map->pixelAddress(0, y);
        for (int x = 0; x < width; ++x) {
            const int box = x / (HogeScenes::choiceWidth + HogeScenes::choiceGap);
            const bool inside = x % (HogeScenes::choiceWidth + HogeScenes::choiceGap) < HogeScenes::choiceWidth;
            row[x] = BYTE(inside ? box + 1 : 0);
        }
    }
    return map;
}

void startTextInput(KtVelka* velka, KtViewport& field)
{
    {
        KtCriticalSection::Hold hold(field.inputLock);
        field.inputText.clear();
        field.inputMaxLength = nameBytes;
        field.inputX = 12;
        field.inputY = 10;
        field.caretX = field.inputX;
        field.caretY = field.inputY;
        field.caretWidth = 2;
        field.caretHeight = 20;
        field.charWidth = 20;
        field.textColor = RGB(255, 255, 255);
        field.font.handle = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "");
        field.inputActive = 1;
    }
    velka->focusWindow = &field;
    PostThreadMessageA(velka->windowThread.threadId, KtMessage::restoreFocus, 0, 0);
}

}  // namespace

bool HogeScenes::askName(KtVelka* velka, KtString& name)
{
    KtWindowDescription d;
    d.kind = KtWindowDescription::popupWithCaption;
    d.rect = KtRect(170, 300, 470, 344);
    d.name = "name";
    d.showCmd = SW_SHOW;
    d.fillColor = 0;
    d.param2 = 1;   // the player can move it by dragging
    auto* popup = static_cast<KtPopupViewport*>(HogeWindows::create(velka, d));
    if (!popup)
        return false;
    if (!popup->client) {
        HogeWindows::destroy(velka, "name");
        return true;
    }
    startTextInput(velka, *popup->client);
    bool confirmed = false;
    while (HogeWindows::awaitInput(velka, 1)) {
        if (velka->inputCode == returnCode) {
            confirmed = true;
            break;
        }
    }
    if (confirmed) {
        KtCriticalSection::Hold hold(popup->client->inputLock);
        if (popup->client->inputText.length() > 0)
            name = popup->client->inputText;
    }
    velka->focusWindow = nullptr;
    HogeWindows::destroy(velka, "name");
    return confirmed;
}

bool HogeScenes::choose(KtVelka* velka, const char* first, const char* second, int& choice)
{
    const int width = 2 * choiceWidth + choiceGap;
    KtWindowDescription d;
    d.kind = KtWindowDescription::viewport;
    d.rect = KtRect(choiceLeft, choiceTop, choiceLeft + width, choiceTop + choiceHeight);
    d.name = "choice";
    d.showCmd = SW_SHOW;
    auto* view = static_cast<KtViewport*>(HogeWindows::create(velka, d));
    if (!view)
        return false;
    paintChoices(view->surface, first, second);
    InvalidateRect(view->handle, nullptr, FALSE);
    if (!choiceMade)
        choiceMade = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(choiceMade);
    choicePressed = 0;
    makeMap(width, choiceHeight)->attachTo(*view, TRUE);   // the viewport deletes it
    const bool chosen = HogeWindows::awaitEvent(velka, choiceMade);
    choice = static_cast<int>(choicePressed);
    HogeWindows::destroy(velka, "choice");
    return chosen;
}

bool HogeScenes::playMovie(KtVelka* velka, const char* file)
{
    KtWindowDescription stage;
    stage.kind = KtWindowDescription::viewport;
    stage.rect = KtRect(0, 0, 640, 480);
    stage.name = "stage";
    stage.showCmd = SW_SHOW;
    stage.fillColor = 0;
    if (!HogeWindows::create(velka, stage))
        return false;
    // The view's parent is the stage, a window of the host's window thread:
    // the space the view presses at the end arrives there as input.
    KtWindowDescription movie;
    movie.kind = KtWindowDescription::aviView;
    movie.rect = KtRect(160, 120, 480, 360);
    movie.parentName = "stage";
    movie.name = "movie";
    movie.showCmd = SW_SHOW;
    movie.imageFile = file;
    movie.param1 = 0;   // the movie at the top-left of its view
    movie.param2 = 0;
    HogeWindows::create(velka, movie);
    const bool watched = HogeWindows::awaitInput(velka, 1);
    HogeWindows::destroy(velka, "movie");
    HogeWindows::destroy(velka, "stage");
    return watched;
}
