// HogePictures: the picture window, the generated pictures and the transition cycle.
#include "HogePictures.h"
#include "HogeWindows.h"
#include "KtLayerViewport.h"
#include <cstdio>

namespace {

// Every transition code, grouped by kind: at once, wipes, line scans, random
// lines, dissolves, the fade.
const int cycle[] = {11, 10, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 50, 51, 52,
                     48, 49, 40, 41, 42, 43, 44, 45, 46, 47, 38, 39, 9,  0};
// One of each kind, for the show at the start.
const int everyKind[] = {11, 20, 23, 50, 52, 48, 49, 44, 38, 9, 0};

const char* kindOf(int code)
{
    if (code >= 10 && code <= 23)
        return "ワイプ";
    if (code >= 50 && code <= 52)
        return "走査線";
    if (code == 48 || code == 49)
        return "ランダム線";
    if (code >= 38 && code <= 47)
        return "ディゾルブ";
    if (code == 9)
        return "フェード";
    return "即時";
}

// Four generated pictures: bands, rings, a checkerboard and a gradient,
// each in colours of its own; index 255 is white for the label.
void paintPicture(KtPrintArea& layer, int style)
{
    KtVSurface& s = layer.surface;
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) {
        const int a = i, b = 255 - i, c = (i * 3) & 255;
        const int rgb[4][3] = {{a, c, b}, {b, a, c}, {c, b, a}, {a, a / 2, b}};
        table[i] = RGBQUAD{BYTE(rgb[style][2]), BYTE(rgb[style][1]), BYTE(rgb[style][0]), 0};
    }
    table[255] = RGBQUAD{255, 255, 255, 0};
    s.setColourRange(table, 0, 256);
    const int w = s.width(), h = s.height();
    for (int y = 0; y < h; ++y) {
        BYTE* row = s.pixelAddress(0, y);
        for (int x = 0; x < w; ++x) {
            const int dx = x - w / 2, dy = y - h / 2;
            int v;
            switch (style) {
            case 0: v = y * 254 / h; break;
            case 1: v = (dx * dx + dy * dy) / 97 % 254; break;
            case 2: v = ((x / 40 + y / 40) % 2) ? 200 : 60; break;
            default: v = (x + y) * 254 / (w + h); break;
            }
            row[x] = BYTE(v);
        }
    }
}

void label(KtPrintArea& layer, int code)
{
    char text[64];
    std::snprintf(text, sizeof text, "%s %d", kindOf(code), code);
    KtDC& dc = layer.surface.lock();
    SetBkMode(dc.handle(), TRANSPARENT);
    SetTextColor(dc.handle(), RGB(255, 255, 255));
    TextOutA(dc.handle(), 16, 16, text, lstrlenA(text));
    GdiFlush();
    layer.surface.unlock();
}

}  // namespace

bool HogePictures::start(KtVelka* velka)
{
    SIZE area = HogeWindows::hostSize(velka);
    record_.kind = KtWindowDescription::layerViewport;
    record_.rect = KtRect(0, 0, area.cx, area.cy);
    record_.parentName = KtString("");
    record_.name = KtString(windowName);
    record_.showCmd = SW_SHOWNORMAL;
    record_.imageFile = KtString("");
    record_.fillColor = 0;   // black until the first picture
    record_.param2 = 0;      // the pictures do not move
    view_ = static_cast<KtLayerViewport*>(HogeWindows::create(velka, record_));
    if (!view_)
        return false;
    show(0);
    return true;
}

void HogePictures::stop()
{
    view_ = nullptr;
}

int HogePictures::showNext()
{
    const int code = cycle[nextCode_];
    nextCode_ = (nextCode_ + 1) % int(sizeof cycle / sizeof cycle[0]);
    show(code);
    return code;
}

bool HogePictures::showEveryKind(HANDLE quit, DWORD pauseMs)
{
    for (int code : everyKind) {
        if (WaitForSingleObject(quit, pauseMs) == WAIT_OBJECT_0)
            return false;
        show(code);
    }
    return true;
}

// Layers 1 and 2 take turns: the new picture goes on top of the shown one,
// which is removed once it is covered.
void HogePictures::show(int code)
{
    if (!view_)
        return;
    const int index = shownLayer_ == 1 ? 2 : 1;
    const int w = view_->surface.width(), h = view_->surface.height();
    const int startLevel = code == 9 ? 0 : 16;
    view_->defineLayer(index, 0, 0, 0, 0, w, h, 0, 0, w, h, 0, 0, -2, startLevel, ++priority_, 0);
    paintPicture(view_->layers[index], nextStyle_);
    label(view_->layers[index], code);
    nextStyle_ = (nextStyle_ + 1) % 4;
    view_->showLayer(index, code, startLevel);
    if (shownLayer_)
        view_->removeLayer(shownLayer_, FALSE);
    shownLayer_ = index;
}
