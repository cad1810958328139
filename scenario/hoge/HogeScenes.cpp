// HogeScenes: the sample game's name entry and choice map, the windows a scene asks of the host.
#include "HogeScenes.h"
#include "HogeWindows.h"
#include "KtAviView.h"
#include "KtHitRegion.h"
#include "KtMessage.h"
#include "KtPopupViewport.h"
#include "KtVelka.h"
#include "KtViewport.h"

namespace {

constexpr int returnCode = 13;
constexpr int nameBytes = 16;   // eight double-byte characters
constexpr int anyInput = 0;

// Colours of the choice map: 0 background, 1 box, 2 frame, 3 lit box, 255 text.
constexpr BYTE boxColour = 1;
constexpr BYTE litColour = 3;

// The map's viewport: the two boxes with a margin of region 0 around them,
// so that leaving a box is reported before the mouse leaves the map.
constexpr int mapWidth = 2 * HogeScenes::choiceWidth + HogeScenes::choiceGap + 2 * HogeScenes::choiceMargin;
constexpr int mapHeight = HogeScenes::choiceHeight + 2 * HogeScenes::choiceMargin;
constexpr int placeWidth = mapWidth / 2;

// Set by the choice map's callback on the window thread.
HANDLE choiceMade;
volatile LONG choicePressed;

// One place of the map is a hit-region object over its half of the map:
// region 1 or 2 under its box and 0 around it. Its cover is the half with
// the box lit. The objects are the framework's own class: the viewport
// deletes them, perhaps after this module has gone.
using Place = KtHitRegion;

// The lit place, touched only on the window thread.
Place* litPlace;

void redraw(Place& place)
{
    RECT area = {place.left, place.top, place.left + place.cover.width(), place.top + place.cover.height()};
    place.owner->redrawRect(&area, FALSE);
}

// On: the cover goes on the viewport. Off: its lit pixels take the box
// colour again, which gives back the plain half without a copy of it.
void light(Place& place, bool on)
{
    if (!place.owner)
        return;
    place.coverShown = on ? 1 : 0;
    KtVSurface& map = place.owner->surface;
    if (on) {
        place.cover.transfer(map, place.left, place.top, 0, 0, place.cover.width(), place.cover.height(), -2);
    } else {
        for (int y = 0; y < place.cover.height(); ++y)
            for (int x = 0; x < place.cover.width(); ++x) {
                BYTE* pixel = map.pixelAddress(place.left + x, place.top + y);
                if (*pixel == litColour)
                    *pixel = boxColour;
            }
    }
    redraw(place);
}

void __cdecl onChoiceRegion(KtHitRegion* object, UINT message, int region)
{
    Place* place = object;
    if (message == WM_MOUSEMOVE) {
        if (litPlace && (litPlace != place || region == 0)) {
            light(*litPlace, false);
            // Reported again when the mouse comes back into its box.
            litPlace->currentRegion = -1;
            litPlace = nullptr;
        }
        if (region > 0 && litPlace != place) {
            light(*place, true);
            litPlace = place;
        }
        return;
    }
    if (message == WM_LBUTTONDOWN && region > 0) {
        InterlockedExchange(&choicePressed, region);
        SetEvent(choiceMade);
    }
}

void setMapColours(KtVSurface& s)
{
    RGBQUAD table[256] = {};
    table[0] = RGBQUAD{40, 20, 20, 0};
    table[boxColour] = RGBQUAD{160, 90, 40, 0};
    table[2] = RGBQUAD{240, 220, 200, 0};
    table[litColour] = RGBQUAD{80, 200, 255, 0};
    table[255] = RGBQUAD{255, 255, 255, 0};
    s.setColourRange(table, 0, 256);
}

void drawLabel(KtVSurface& s, int x, int y, const char* label)
{
    KtDC& dc = s.lock();
    HFONT font = CreateFontA(32, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "");
    HGDIOBJ old = SelectObject(dc.handle(), font);
    SetBkMode(dc.handle(), TRANSPARENT);
    SetTextColor(dc.handle(), RGB(255, 255, 255));
    TextOutA(dc.handle(), x, y, label, lstrlenA(label));
    SelectObject(dc.handle(), old);
    DeleteObject(font);
    GdiFlush();
    s.unlock();
}

// The whole map; box n is in the lit colour when bit n - 1 of lit is set.
void paintChoices(KtVSurface& s, const char* first, const char* second, int lit)
{
    setMapColours(s);
    s.fill(0, nullptr);
    const char* labels[2] = {first, second};
    for (int i = 0; i < 2; ++i) {
        const int x = HogeScenes::choiceMargin + i * (HogeScenes::choiceWidth + HogeScenes::choiceGap);
        const int y = HogeScenes::choiceMargin;
        KtRect frame(x, y, x + HogeScenes::choiceWidth, y + HogeScenes::choiceHeight);
        s.fill(2, &frame);
        KtRect box(x + 3, y + 3, x + HogeScenes::choiceWidth - 3, y + HogeScenes::choiceHeight - 3);
        s.fill((lit & (1 << i)) ? litColour : boxColour, &box);
        drawLabel(s, x + 38, y + 22, labels[i]);
    }
}

// Region n under box n of the place's half, 0 around it.
void fillMask(Place& place, int region)
{
    const int boxLeft = HogeScenes::choiceMargin + (region - 1) * (HogeScenes::choiceWidth + HogeScenes::choiceGap);
    for (int y = 0; y < mapHeight; ++y) {
        BYTE* row = place.pixelAddress(0, y);
        for (int x = 0; x < placeWidth; ++x) {
            const int mapX = place.left + x;
            const bool inside = mapX >= boxLeft && mapX < boxLeft + HogeScenes::choiceWidth &&
                                y >= HogeScenes::choiceMargin && y < HogeScenes::choiceMargin + HogeScenes::choiceHeight;
            row[x] = BYTE(inside ? region : 0);
        }
    }
}

void cut(KtVSurface& from, KtVSurface& into, int left)
{
    into.create(placeWidth, mapHeight);
    into.copyColours(from);
    from.transfer(into, 0, 0, left, 0, placeWidth, mapHeight, -2);
}

// Place `region` (1 or 2) with its mask and its lit cover.
Place* makePlace(int region, KtVSurface& litMap)
{
    auto* place = new Place((region - 1) * placeWidth, 0, &onChoiceRegion, FALSE);
    place->create(placeWidth, mapHeight);
    fillMask(*place, region);
    cut(litMap, place->cover, place->left);
    return place;
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

bool HogeScenes::askName(KtVelka* velka, KtString& name, Ready ready)
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
    // The caption a player reads; the class name would show otherwise.
    SetWindowTextA(popup->handle, "お名前");
    startTextInput(velka, *popup->client);
    if (ready)
        ready();
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

bool HogeScenes::choose(KtVelka* velka, const char* first, const char* second, int& choice, Ready ready)
{
    KtWindowDescription d;
    d.kind = KtWindowDescription::viewport;
    d.rect = KtRect(choiceLeft - choiceMargin, choiceTop - choiceMargin, choiceLeft - choiceMargin + mapWidth,
                    choiceTop - choiceMargin + mapHeight);
    d.name = "choice";
    d.showCmd = SW_SHOW;
    auto* view = static_cast<KtViewport*>(HogeWindows::create(velka, d));
    if (!view)
        return false;
    paintChoices(view->surface, first, second, 0);
    // Both boxes lit: each place cuts its own half out of this picture.
    KtVSurface lit;
    lit.create(mapWidth, mapHeight);
    paintChoices(lit, first, second, 1 | 2);
    InvalidateRect(view->handle, nullptr, FALSE);
    if (!choiceMade)
        choiceMade = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ResetEvent(choiceMade);
    choicePressed = 0;
    litPlace = nullptr;
    for (int region = 1; region <= 2; ++region)
        makePlace(region, lit)->attachTo(*view, TRUE);   // the viewport deletes them
    if (ready)
        ready();
    const bool chosen = HogeWindows::awaitEvent(velka, choiceMade);
    choice = static_cast<int>(choicePressed);
    HogeWindows::destroy(velka, "choice");
    return chosen;
}

bool HogeScenes::playMovie(KtVelka* velka, const char* file, Ready ready)
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
    auto* view = static_cast<KtAviView*>(HogeWindows::create(velka, movie));
    bool watched = view != nullptr;
    if (view) {
        // Signalled when the view was built: cleared, it tells the end.
        view->doneEvent.unsignal();
        PostMessageA(view->handle, KtAviView::playMessage, 0, 0);
        if (ready)
            ready();
        // The end press or doneEvent ends the wait; any other key or click
        // skips the rest of the movie.
        const HogeWindows::Woken woken = HogeWindows::awaitInputOr(velka, anyInput, view->doneEvent.handle);
        watched = woken != HogeWindows::Woken::quit;
        if (view->doneEvent.wait(0) != WAIT_OBJECT_0)
            PostMessageA(view->handle, KtAviView::stopMessage, 0, 0);
    }
    HogeWindows::destroy(velka, "movie");
    HogeWindows::destroy(velka, "stage");
    return watched;
}
