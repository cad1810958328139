// KtPrintArea: settings, attached objects, and drawing a layer into the true-colour surface.
#include "KtPrintArea.h"
#include "KtLayerViewport.h"
#include "KtPrintAreaObject.h"
#include "KtVSurface24.h"
#include <algorithm>
#include <cstddef>

struct KtPrintAreaLayout {
#ifndef _WIN64
    static_assert(offsetof(KtPrintArea, owner) == 4);
    static_assert(offsetof(KtPrintArea, index) == 8);
    static_assert(offsetof(KtPrintArea, area) == 12);
    static_assert(offsetof(KtPrintArea, level) == 32);
    static_assert(offsetof(KtPrintArea, originX) == 36);
    static_assert(offsetof(KtPrintArea, originY) == 40);
    static_assert(offsetof(KtPrintArea, wrapWidth) == 44);
    static_assert(offsetof(KtPrintArea, wrapHeight) == 48);
    static_assert(offsetof(KtPrintArea, surface) == 52);
    static_assert(offsetof(KtPrintArea, picture) == 148);
    static_assert(offsetof(KtPrintArea, key) == 168);
    static_assert(offsetof(KtPrintArea, visible) == 172);
    static_assert(offsetof(KtPrintArea, priority) == 176);
    static_assert(offsetof(KtPrintArea, wrapSwitch) == 180);
    static_assert(offsetof(KtPrintArea, wrapWord1) == 184);
    static_assert(offsetof(KtPrintArea, wrapWord2) == 188);
    static_assert(offsetof(KtPrintArea, wrapMode) == 192);
    static_assert(offsetof(KtPrintArea, wrapWord3) == 196);
    static_assert(offsetof(KtPrintArea, wrapWord4) == 200);
    static_assert(offsetof(KtPrintArea, objectGuard) == 204);
    static_assert(offsetof(KtPrintArea, objectSource) == 232);
    static_assert(offsetof(KtPrintArea, userWord) == 236);
    static_assert(offsetof(KtPrintArea, objects) == 240);
    static_assert(sizeof(KtPrintArea) == 1264);
#else
    static_assert(offsetof(KtPrintArea, owner) < offsetof(KtPrintArea, index));
    static_assert(offsetof(KtPrintArea, index) < offsetof(KtPrintArea, area));
    static_assert(offsetof(KtPrintArea, area) < offsetof(KtPrintArea, level));
    static_assert(offsetof(KtPrintArea, level) < offsetof(KtPrintArea, originX));
    static_assert(offsetof(KtPrintArea, originX) < offsetof(KtPrintArea, originY));
    static_assert(offsetof(KtPrintArea, originY) < offsetof(KtPrintArea, wrapWidth));
    static_assert(offsetof(KtPrintArea, wrapWidth) < offsetof(KtPrintArea, wrapHeight));
    static_assert(offsetof(KtPrintArea, wrapHeight) < offsetof(KtPrintArea, surface));
    static_assert(offsetof(KtPrintArea, surface) < offsetof(KtPrintArea, picture));
    static_assert(offsetof(KtPrintArea, picture) < offsetof(KtPrintArea, key));
    static_assert(offsetof(KtPrintArea, key) < offsetof(KtPrintArea, visible));
    static_assert(offsetof(KtPrintArea, visible) < offsetof(KtPrintArea, priority));
    static_assert(offsetof(KtPrintArea, priority) < offsetof(KtPrintArea, wrapSwitch));
    static_assert(offsetof(KtPrintArea, wrapSwitch) < offsetof(KtPrintArea, wrapWord1));
    static_assert(offsetof(KtPrintArea, wrapWord1) < offsetof(KtPrintArea, wrapWord2));
    static_assert(offsetof(KtPrintArea, wrapWord2) < offsetof(KtPrintArea, wrapMode));
    static_assert(offsetof(KtPrintArea, wrapMode) < offsetof(KtPrintArea, wrapWord3));
    static_assert(offsetof(KtPrintArea, wrapWord3) < offsetof(KtPrintArea, wrapWord4));
    static_assert(offsetof(KtPrintArea, wrapWord4) < offsetof(KtPrintArea, objectGuard));
    static_assert(offsetof(KtPrintArea, objectGuard) < offsetof(KtPrintArea, objectSource));
    static_assert(offsetof(KtPrintArea, objectSource) < offsetof(KtPrintArea, userWord));
    static_assert(offsetof(KtPrintArea, userWord) < offsetof(KtPrintArea, objects));
#endif
};

namespace {

const int objectCount = 256;
const int noKey = -2;

// One run of a wrapped axis: picture coordinates [from, to) shown at view.
struct Run {
    int from, to, view;
};

// Cuts [from, to) of a picture axis with period `period` into runs that each
// lie inside one period, reduced into 0..period−1; a period below 1 does not
// repeat. Calls each(run) in order; returns nothing.
template <class Each>
void forEachRun(int from, int to, int view, int period, Each each)
{
    if (period < 1) {
        each(Run{from, to, view});
        return;
    }
    // 64-bit: with an area far outside the surface (cut off before this),
    // to − from would not fit.
    long long start = from % period;
    if (start < 0)
        start += period;
    for (long long left = static_cast<long long>(to) - from; left > 0;) {
        const int length = int(period - start < left ? period - start : left);
        each(Run{int(start), int(start) + length, view});
        view += length;
        left -= length;
        start = 0;
    }
}

}  // namespace

KtPrintArea::KtPrintArea() : objectSource(nullptr), userWord(0), objects{}
{
    surface.create(16, 16);
    reset();
}

KtPrintArea::~KtPrintArea()
{
    // The attached objects may belong to windows that are gone by now: only
    // what the area owns is freed.
    delete objectSource;
    objectSource = nullptr;
}

void KtPrintArea::reset()
{
    owner = nullptr;
    index = -1;
    area = KtRect();
    level = 16;
    originX = originY = 0;
    wrapWidth = wrapHeight = 0;
    picture = KtRect();
    key = -2;
    visible = 0;
    priority = 0;
    wrapSwitch = wrapWord1 = wrapWord2 = wrapMode = wrapWord3 = wrapWord4 = 0;
    surface.printArea = this;
}

void KtPrintArea::setPicture(int wrapW, int wrapH, int x, int y, int width, int height, int newKey,
                             int newLevel, int newUserWord)
{
    releaseObjects();
    userWord = newUserWord;
    wrapWidth = wrapW;
    key = newKey;
    level = newLevel;
    wrapHeight = wrapH;
    KtVSurface& pixels = surface;
    pixels.create(width, height);
    picture.set(x, y, x + surface.width(), y + surface.height());
}

int KtPrintArea::attach(KtLayerViewport* newOwner, int newIndex, int newPriority, int left, int top,
                        int width, int height, int newOriginX, int newOriginY)
{
    if (owner)
        return 0;
    index = newIndex;
    priority = newPriority;
    setArea(left, top, width, height, newOriginX, newOriginY);
    owner = newOwner;
    return 1;
}

void KtPrintArea::setArea(int left, int top, int width, int height, int newOriginX, int newOriginY)
{
    if (width < 1)
        width = area.width();
    if (height < 1)
        height = area.height();
    originX = newOriginX;
    originY = newOriginY;
    area.set(left, top, left + width, top + height);
}

void KtPrintArea::clear()
{
    if (!owner)
        return;
    reset();
    surface.create(16, 16);
    releaseObjects();
}

void KtPrintArea::releaseObjects()
{
    if (!objectSource)
        return;
    for (int i = 0; i < objectCount; ++i)
        releaseObject(i);
    delete objectSource;
    objectSource = nullptr;
}

void KtPrintArea::releaseObject(int i)
{
    KtCriticalSection::Hold hold(objectGuard);
    if (i < 0 || i >= objectCount || !objects[i])
        return;
    KtPrintAreaObject* object = objects[i];
    if (object->viewport && object->active) {
        if (object->release(object->viewport, object->value) > 0) {
            object->active = 0;
            if (object->surface)
                object->surface->fill(0, &object->rect);
        }
    }
    if (object->viewport) {
        object->detach(object->viewport);
        object->number = -1;
        if (object->surface)
            object->surface->fill(0, &object->rect);
        object->viewport = nullptr;
        object->rect.moveTo(0, 0);
        object->value = 1;
        object->active = 0;
    }
    objects[i] = nullptr;
}

bool KtPrintArea::toViewport(KtRect& r) const
{
    r.offset(area.left + picture.left - originX, area.top + picture.top - originY);
    return r.intersect(area) != 0;
}

void KtPrintArea::changed(const KtRect* r)
{
    KtRect shown = r ? *r : KtRect(0, 0, surface.width(), surface.height());
    if (toViewport(shown) && owner)
        owner->recompose(shown, TRUE);
}

void KtPrintArea::drawPiece(KtVSurface24& dest, KtRect piece, int viewX, int viewY, KtRect& dirty)
{
    const int pieceLeft = piece.left, pieceTop = piece.top;
    if (!piece.intersect(picture))
        return;
    const int x = viewX + piece.left - pieceLeft;
    const int y = viewY + piece.top - pieceTop;
    surface.blendKeyed(dest, x, y, piece.left - picture.left, piece.top - picture.top,
                       piece.width(), piece.height(), level, key);
    dirty.unite(KtRect(x, y, x + piece.width(), y + piece.height()));
}

void KtPrintArea::drawWrapped(KtVSurface24& dest, const KtRect& r, const KtRect& p, KtRect& dirty)
{
    // Picture space repeats: every point is reduced into the period and then
    // mapped as without wrap mode, so a picture placed away from (0, 0) shows
    // at the same place in each period as it does in the first.
    forEachRun(p.top, p.bottom, r.top, wrapHeight, [&](const Run& rows) {
        forEachRun(p.left, p.right, r.left, wrapWidth, [&](const Run& cols) {
            drawPiece(dest, KtRect(cols.from, rows.from, cols.to, rows.to), cols.view, rows.view,
                      dirty);
        });
    });
}

void KtPrintArea::drawInto(KtVSurface24& dest, const KtRect& update, KtRect& dirty)
{
    if (!visible || level < 1)
        return;
    // Only dest's pixels can change: cutting to them first bounds the work,
    // however large the area and however small a wrap period.
    const bool pixels = dest.hasPixels();
    KtRect r = update;
    if (!r.intersect(KtRect(0, 0, pixels ? dest.width() : 0, pixels ? dest.height() : 0)) ||
        !r.intersect(area))
        return;
    KtRect p = r;
    p.offset(originX - area.left, originY - area.top);
    if (wrapOn())
        drawWrapped(dest, r, p, dirty);
    else
        drawPiece(dest, p, r.left, r.top, dirty);
}

bool KtPrintArea::composeLayer(const KtRect& update, ComposeLayer& layer) const
{
    if (!visible || level < 1)
        return false;
    KtRect r = update;
    if (!r.intersect(area))
        return false;
    const bool pixels = surface.hasPixels();
    layer.topRow = pixels ? surface.pixelAddress(0, 0) : nullptr;
    layer.stride = surface.stride();
    layer.width = pixels ? surface.width() : 0;
    layer.height = pixels ? surface.height() : 0;
    layer.colours = surface.colours();
    layer.rows = &PixelRows::forSurface(surface.hasMmx);
    layer.level = std::min(level, 16);
    // A key that names no index makes no pixel transparent.
    const int k = key == noKey || !pixels ? noKey : surface.resolveKey(key);
    layer.key = k == noKey ? -1 : k;
    layer.clip = r.edges();
    layer.picture = picture.edges();
    layer.shiftX = static_cast<long long>(originX) - area.left;
    layer.shiftY = static_cast<long long>(originY) - area.top;
    layer.periodX = wrapOn() ? wrapWidth : 0;
    layer.periodY = wrapOn() ? wrapHeight : 0;
    return true;
}
