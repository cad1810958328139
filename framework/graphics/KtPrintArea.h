// KtPrintArea: one layer of the layer viewport, a placed 8-bit picture drawn at a level and key.
#pragma once
#include "KtCriticalSection.h"
#include "KtPrintSurface.h"
#include "KtRect.h"
#include "LayerComposer.h"

class KtLayerViewport;
class KtPrintAreaObject;
class KtVSurface24;

// A picture (surface) placed in picture space at `picture`, seen through
// `area` of the viewport with picture point (originX, originY) at the
// area's top-left corner, drawn at level sixteenths with an optional colour
// key. In wrap mode picture space repeats with the period wrapWidth ×
// wrapHeight. The layer viewport owns 24 of them.
//
// Scenario modules read and write the fields directly, so their order and
// widths are fixed; the only virtual operation is the destructor. The host
// never sets visible or the wrap words: the module does.
class KtPrintArea {
public:
    KtPrintArea();
    virtual ~KtPrintArea();
    KtPrintArea(const KtPrintArea&) = delete;
    KtPrintArea& operator=(const KtPrintArea&) = delete;

    // Frees the area: every setting back to its first value (the surface keeps its picture).
    void reset();
    void setPicture(int wrapW, int wrapH, int x, int y, int width, int height, int key, int level,
                    int userWord);
    // Makes the area a layer of owner; 0 (and no change) when it already is one.
    int attach(KtLayerViewport* owner, int index, int priority, int left, int top, int width,
               int height, int originX, int originY);
    // A width or height below 1 keeps the current one.
    void setArea(int left, int top, int width, int height, int originX, int originY);
    // A defined area becomes free again, with a 16 × 16 surface.
    void clear();
    void releaseObjects();
    // Indices outside 0..255 and empty entries are ignored.
    void releaseObject(int i);
    // Surface coordinates to viewport coordinates, cut to area; false when nothing is left.
    bool toViewport(KtRect& r) const;
    // The surface was drawn in r (null: all of it): the owner shows it.
    void changed(const KtRect* r);
    // Draws the part of the layer inside update (and inside dest) into dest;
    // dirty grows by what changed. Layer by layer, the reference of the
    // one-pass composition.
    void drawInto(KtVSurface24& dest, const KtRect& update, KtRect& dirty);

    bool wrapOn() const { return wrapSwitch != 0 && (wrapMode & 3) != 0; }
    // The layer as the one-pass composer draws it inside update (already
    // cut to the surface it is composed into); false when it draws nothing.
    bool composeLayer(const KtRect& update, ComposeLayer& layer) const;

    KtLayerViewport* owner;   // null: the layer is not defined
    int index;
    KtRect area;              // viewport coordinates
    int level;                // 0 invisible .. 16 opaque
    int originX;              // picture point at area's left edge
    int originY;
    int wrapWidth;
    int wrapHeight;
    KtPrintSurface surface;
    KtRect picture;           // the surface's place in picture space
    int key;                  // −2 none, −1 the top-left pixel, else an index
    int visible;
    int priority;
    int wrapSwitch;
    int wrapWord1;
    int wrapWord2;
    int wrapMode;             // with wrapSwitch: bit 0 or 1 turns wrap mode on
    int wrapWord3;
    int wrapWord4;
    KtCriticalSection objectGuard;
    KtPrintAreaObject* objectSource;   // owned
    int userWord;
    KtPrintAreaObject* objects[256];

private:
    friend struct KtPrintAreaLayout;
    void drawPiece(KtVSurface24& dest, KtRect piece, int viewX, int viewY, KtRect& dirty);
    void drawWrapped(KtVSurface24& dest, const KtRect& r, const KtRect& p, KtRect& dirty);
};
