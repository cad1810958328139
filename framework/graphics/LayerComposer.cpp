// LayerComposer: the one-pass composition of a layer stack, row by row, with opaque parts skipped.
#include "LayerComposer.h"
#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <vector>

namespace {

const int bandRows = 16;

// Frame positions [from, to) of one axis showing source positions src, src + 1, ...
struct Span {
    int from, to, src;
};

// What a layer shows along one axis: the spans it draws, and the extent of
// its pieces (picture rectangle applied, the source's size not), which is
// what the layer adds to the changed area.
struct Axis {
    std::vector<Span> drawn;
    int pieceFrom = INT_MAX, pieceTo = INT_MIN;
    bool any() const { return pieceFrom < pieceTo; }
};

// Frame [view, view + (pTo − pFrom)) shows picture positions [pFrom, pTo).
void addRun(Axis& axis, int view, long long pFrom, long long pTo, int picFrom, int picTo,
            int srcSize)
{
    const long long a = std::max<long long>(pFrom, picFrom);
    const long long b = std::min<long long>(pTo, picTo);
    if (a >= b)
        return;
    const int from = view + int(a - pFrom), to = from + int(b - a);
    axis.pieceFrom = std::min(axis.pieceFrom, from);
    axis.pieceTo = std::max(axis.pieceTo, to);
    const long long src = a - picFrom;
    const long long srcEnd = std::min<long long>(b - picFrom, srcSize);
    if (src < srcEnd)
        axis.drawn.push_back(Span{from, from + int(srcEnd - src), int(src)});
}

// Cuts frame [from, to) into runs that each stay inside one period of the
// picture space. At most one run more than (to − from) / period, and since
// the frame limits to − from, never more than the frame's size plus one.
Axis axisOf(int from, int to, long long shift, int period, int picFrom, int picTo, int srcSize)
{
    Axis axis;
    if (period < 1) {
        addRun(axis, from, from + shift, to + shift, picFrom, picTo, srcSize);
        return axis;
    }
    long long start = (from + shift) % period;
    if (start < 0)
        start += period;
    for (int view = from; view < to; start = 0) {
        const int length = int(std::min<long long>(period - start, to - view));
        addRun(axis, view, start, start + length, picFrom, picTo, srcSize);
        view += length;
    }
    return axis;
}

// The parts of a band of frame rows that a higher layer paints opaquely: sorted,
// disjoint, adjacent parts merged.
class RowCover {
public:
    void clear() { parts_.clear(); }

    bool covers(int from, int to) const
    {
        return parts_.size() == 1 && parts_[0].from <= from && parts_[0].to >= to;
    }

    // Calls each(a, b) for every part of [from, to) that is not covered.
    template <class Each>
    void forUncovered(int from, int to, Each each) const
    {
        for (const Span& p : parts_) {
            if (p.to <= from)
                continue;
            if (p.from >= to)
                break;
            if (p.from > from)
                each(from, p.from);
            from = std::max(from, p.to);
            if (from >= to)
                return;
        }
        if (from < to)
            each(from, to);
    }

    void add(int from, int to)
    {
        size_t i = 0;
        while (i < parts_.size() && parts_[i].to < from)
            ++i;
        size_t j = i;
        for (; j < parts_.size() && parts_[j].from <= to; ++j) {
            from = std::min(from, parts_[j].from);
            to = std::max(to, parts_[j].to);
        }
        parts_.erase(parts_.begin() + long(i), parts_.begin() + long(j));
        parts_.insert(parts_.begin() + long(i), Span{from, to, 0});
    }

private:
    std::vector<Span> parts_;
};

// A piece to blend: frame rows y .. y + rows − 1, columns [from, to), from the
// source rows starting at srcRow (its top one), column src.
struct Piece {
    const std::uint8_t* srcRow;
    int y, rows, from, to, src;
};

// The pieces of one band, by layer.
class BandPieces {
public:
    explicit BandPieces(int layers) : byLayer_(static_cast<size_t>(layers)) {}

    void clear()
    {
        for (std::vector<Piece>& pieces : byLayer_)
            pieces.clear();
    }

    void add(int layer, const Piece& piece) { byLayer_[static_cast<size_t>(layer)].push_back(piece); }

    const std::vector<Piece>& of(int layer) const { return byLayer_[static_cast<size_t>(layer)]; }

private:
    std::vector<std::vector<Piece>> byLayer_;
};

// Level 16 and no key pixel in the span on any of `rows` source rows from srcRow down.
bool paintsOpaquely(const ComposeLayer& layer, const std::uint8_t* srcRow, int rows,
                    const Span& span)
{
    if (layer.level < 16)
        return false;
    if (layer.key < 0)
        return true;
    for (int r = 0; r < rows; ++r) {
        const std::uint8_t* row = srcRow - std::ptrdiff_t(r) * layer.stride;
        if (std::memchr(row + span.src, layer.key, size_t(span.to - span.from)))
            return false;
    }
    return true;
}

void blendPiece(const ComposeFrame& frame, const ComposeLayer& l, const MixTable& table,
                const Piece& p)
{
    std::uint8_t* d = frame.topRow - std::ptrdiff_t(p.y) * frame.stride + size_t(p.from) * 4;
    const std::uint8_t* s = p.srcRow + p.src;
    if (l.key < 0)
        l.rows->mixTable(d, frame.stride, s, l.stride, p.to - p.from, p.rows, table);
    else
        l.rows->mixTableKeyed(d, frame.stride, s, l.stride, p.to - p.from, p.rows, table,
                              std::uint8_t(l.key));
}

struct LayerAxes {
    Axis x, y;
    size_t rowCursor = 0;   // the first span of y that may reach the current band
};

// From the top layer down, the visible parts of every layer's spans in the
// band of rows [top, bottom). A span that covers the whole band opaquely
// hides what lies under it in the band; a layer that shows on only some of
// its rows (its rows start or end inside the band, or a short wrap period)
// hides nothing, which only ever costs drawing that the layers above
// overwrite.
void collectBand(const ComposeLayer* layers, std::vector<LayerAxes>& axes, int top, int bottom,
                 const RectEdges& area, RowCover& cover, BandPieces& pieces)
{
    for (int i = int(axes.size()) - 1; i >= 0 && !cover.covers(area.left, area.right); --i) {
        LayerAxes& a = axes[size_t(i)];
        const std::vector<Span>& rows = a.y.drawn;
        while (a.rowCursor < rows.size() && rows[a.rowCursor].to <= top)
            ++a.rowCursor;
        const ComposeLayer& layer = layers[i];
        for (size_t k = a.rowCursor; k < rows.size() && rows[k].from < bottom; ++k) {
            const int y0 = std::max(rows[k].from, top), y1 = std::min(rows[k].to, bottom);
            const int sy = rows[k].src + (y0 - rows[k].from);
            const std::uint8_t* srcRow = layer.topRow - std::ptrdiff_t(sy) * layer.stride;
            const bool wholeBand = y0 == top && y1 == bottom;
            for (const Span& span : a.x.drawn) {
                cover.forUncovered(span.from, span.to, [&](int from, int to) {
                    pieces.add(i, Piece{srcRow, y0, y1 - y0, from, to, span.src + (from - span.from)});
                });
                if (wholeBand && paintsOpaquely(layer, srcRow, y1 - y0, span))
                    cover.add(span.from, span.to);
            }
        }
    }
}

}  // namespace

RectEdges LayerComposer::compose(const ComposeFrame& frame, const ComposeLayer* layers, int count,
                                 RectEdges area)
{
    RectEdges changed{0, 0, 0, 0};
    if (!RectMath::intersect(area, RectEdges{0, 0, frame.width, frame.height}) || count < 1)
        return changed;
    std::vector<LayerAxes> axes(static_cast<size_t>(count));
    // Each layer's colours weighted by its level once, not once per piece.
    std::vector<MixTable> tables(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) {
        const ComposeLayer& l = layers[i];
        RectEdges clip = l.clip;
        if (!RectMath::intersect(clip, area))
            continue;
        axes[size_t(i)].x = axisOf(clip.left, clip.right, l.shiftX, l.periodX, l.picture.left,
                                   l.picture.right, l.width);
        axes[size_t(i)].y = axisOf(clip.top, clip.bottom, l.shiftY, l.periodY, l.picture.top,
                                   l.picture.bottom, l.height);
        const Axis& x = axes[size_t(i)].x;
        const Axis& y = axes[size_t(i)].y;
        if (!x.drawn.empty() && !y.drawn.empty())
            tables[size_t(i)].prepare(l.colours, l.level);
        if (x.any() && y.any())
            RectMath::unite(changed, RectEdges{x.pieceFrom, y.pieceFrom, x.pieceTo, y.pieceTo});
    }
    // Bands of a few rows: the frame's band (40 KB for 640 pixels) stays in
    // cache while every layer is blended into it, and each layer's source is
    // read in one stretch per band. Timed: 4 and 8 rows lost to the calls
    // and the many short source stretches, 16 and 32 came out alike.
    RowCover cover;
    BandPieces pieces(count);
    for (int band = area.top; band < area.bottom; band += bandRows) {
        const int end = std::min(band + bandRows, area.bottom);
        pieces.clear();
        cover.clear();
        collectBand(layers, axes, band, end, area, cover, pieces);
        for (int i = 0; i < count; ++i)
            for (const Piece& p : pieces.of(i))
                blendPiece(frame, layers[i], tables[size_t(i)], p);
    }
    return changed;
}
