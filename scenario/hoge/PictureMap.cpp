// PictureMap: a map picture in a dim and a lit version and a hit-region mask of its places.
#include "PictureMap.h"
#include "HogeRequests.h"
#include "KtHitRegion.h"
#include "KtVelka.h"
#include "KtViewport.h"
#include <initializer_list>

namespace PictureMap {

namespace {
const char* const mapName = "地図";
constexpr int width = 400;
constexpr int height = 280;
constexpr int anyInputMode = 0;
constexpr int escapeKey = 0x1B;
constexpr int leftButton = 1;
constexpr int placeCount = 6;
// Colour table entries: the ground, then each place dim and lit.
constexpr BYTE groundIndex = 16;
constexpr BYTE dimBase = 20;
constexpr BYTE litBase = 40;

struct PlaceLook {
    const char* label;
    int labelX, labelY;
    RGBQUAD dim, lit;   // blue, green, red
};
const PlaceLook looks[placeCount] = {
    {"", 0, 0, {30, 30, 30, 0}, {30, 30, 30, 0}},
    {"森", 82, 70, {0, 90, 0, 0}, {70, 210, 70, 0}},
    {"湖", 282, 80, {120, 40, 20, 0}, {255, 150, 90, 0}},
    {"山", 122, 200, {40, 70, 100, 0}, {90, 170, 230, 0}},
    {"町", 292, 186, {50, 50, 110, 0}, {110, 110, 240, 0}},
    {"もどる", 328, 248, {90, 90, 90, 0}, {200, 200, 200, 0}},
};

// Which place a point of the map belongs to.
int placeAt(int x, int y)
{
    auto inEllipse = [x, y](int cx, int cy, int rx, int ry) {
        const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
        return dx * dx + dy * dy <= 1.0;
    };
    if (x >= 310 && x < 392 && y >= 240 && y < 272)
        return back;
    if (x >= 250 && x < 350 && y >= 160 && y < 230)
        return town;
    if (inEllipse(90, 80, 60, 60))
        return forest;
    if (inEllipse(290, 90, 80, 50))
        return lake;
    // A triangle with its top at (130, 140) and its base from 40 to 220 at y = 250.
    if (y >= 140 && y < 250 && 2 * (x - 130) <= (y - 140) * 180 / 110 && 2 * (130 - x) <= (y - 140) * 180 / 110)
        return mountain;
    return ground;
}

// Shared with the callback, which runs on the window thread while the map is up.
struct Scene {
    KtVSurface dim;
    KtVSurface lit;
    volatile LONG picked = -1;
};
Scene theScene;
Scene* const scene = &theScene;

void setColours(KtVSurface& surface)
{
    surface.setColours(&looks[ground].dim, groundIndex, 0, 1);
    for (int p = 0; p < placeCount; ++p) {
        surface.setColours(&looks[p].dim, dimBase + p, 0, 1);
        surface.setColours(&looks[p].lit, litBase + p, 0, 1);
    }
}

void drawLabels(KtVSurface& surface)
{
    HFONT font = CreateFontA(18, 0, 0, 0, FW_BOLD, 0, 0, 0, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_DONTCARE, "");
    HDC dc = surface.lock().handle();
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(255, 255, 255));
    for (const PlaceLook& look : looks)
        TextOutA(dc, look.labelX, look.labelY, look.label, lstrlenA(look.label));
    SelectObject(dc, oldFont);
    surface.unlock();
    DeleteObject(font);
}

// Both versions of the map and the mask of its places.
void drawPictures(KtHitRegion& mask)
{
    for (KtVSurface* picture : {&scene->dim, &scene->lit}) {
        picture->create(width, height);
        setColours(*picture);
    }
    mask.create(width, height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int place = placeAt(x, y);
            *mask.pixelAddress(x, y) = BYTE(place);
            *scene->dim.pixelAddress(x, y) = BYTE(place == ground ? groundIndex : dimBase + place);
            *scene->lit.pixelAddress(x, y) = BYTE(place == ground ? groundIndex : litBase + place);
        }
    drawLabels(scene->dim);
    drawLabels(scene->lit);
}

// The map with one place lit (none for the ground).
void light(KtHitRegion& mask, int place)
{
    KtViewport* view = mask.owner;
    if (!view)
        return;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const bool lit = place != ground && *mask.pixelAddress(x, y) == place;
            *view->surface.pixelAddress(x, y) = *(lit ? scene->lit : scene->dim).pixelAddress(x, y);
        }
    mask.coverShown = place != ground;
    view->redrawRect(nullptr, FALSE);
}

// Runs on the window thread, under the viewport's objectLock.
void __cdecl onPlace(KtHitRegion* mask, UINT message, int place)
{
    if (message == WM_MOUSEMOVE)
        light(*mask, place);
    else if (message == WM_LBUTTONDOWN)
        InterlockedExchange(&scene->picked, place);
}

// Puts the dim map on the viewport and hands it the mask, whose cover
// brings the dim map back should the viewport go while a place is lit.
void showMap(KtViewport& view)
{
    auto* mask = new KtHitRegion(0, 0, &onPlace);
    drawPictures(*mask);
    view.surface.copyColours(scene->dim);
    scene->dim.transfer(view.surface, 0, 0, 0, 0, width, height, -2);
    mask->cover.create(width, height);
    mask->cover.copyColours(scene->dim);
    scene->dim.transfer(mask->cover, 0, 0, 0, 0, width, height, -2);
    mask->attachTo(view, TRUE);   // the viewport deletes it
    view.invalidateRect(nullptr, FALSE);
}

// Clicks until "もどる" or Escape; -1 on quit.
int pickPlaces(KtVelka* velka, DWORD& picked)
{
    for (;;) {
        InterlockedExchange(&scene->picked, -1);
        const int code = HogeRequests::waitForInput(velka, anyInputMode);
        if (code == -1 || code == escapeKey)
            return code;
        const LONG place = InterlockedCompareExchange(&scene->picked, -1, -1);
        if (code != leftButton || place <= ground)
            continue;
        if (place == back)
            return code;
        picked = static_cast<DWORD>(place);
    }
}
}  // namespace

bool run(KtVelka* velka, DWORD& picked)
{
    KtViewport* view = HogeRequests::openPanel(
        velka, mapName, KtRect((640 - width) / 2, 110, (640 + width) / 2, 110 + height));
    if (!view)
        return WaitForSingleObject(velka->quitRequest.handle, 0) != WAIT_OBJECT_0;
    showMap(*view);
    const int last = pickPlaces(velka, picked);
    HogeRequests::destroyPanel(velka, mapName);
    return last != -1;
}

}  // namespace PictureMap
