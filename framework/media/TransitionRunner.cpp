// TransitionRunner: wipes, line scans, dissolves and random lines as rectangles and pauses.
#include "TransitionRunner.h"
#include "KtRandom.h"
#include "TransitionScreen.h"

namespace {

const int wipeSteps = 16;
const uint32_t wipeStepMs = 10;
const int scanPauseEvery = 6;
const uint32_t previewPauseMs = 50;
// Random lines shown per screen update: a 480-row area still takes 60
// updates, more pictures than a display shows in the time the lines take.
const int linesPerBatch = 8;

// Cuts `cut` out of every rectangle of the list (at most `capacity`
// rectangles in all); returns the new count.
int subtract(KtRect* list, int count, int capacity, const KtRect& cut)
{
    KtRect out[32];
    int n = 0;
    for (int i = 0; i < count; ++i) {
        KtRect common = list[i];
        if (!common.intersect(cut)) {
            out[n++] = list[i];
            continue;
        }
        const KtRect& a = list[i];
        const KtRect pieces[4] = {
            KtRect(a.left, a.top, a.right, common.top),
            KtRect(a.left, common.bottom, a.right, a.bottom),
            KtRect(a.left, common.top, common.left, common.bottom),
            KtRect(common.right, common.top, a.right, common.bottom),
        };
        for (const KtRect& p : pieces) {
            if (!p.isEmpty() && n < capacity)
                out[n++] = p;
        }
    }
    for (int i = 0; i < n; ++i)
        list[i] = out[i];
    return n;
}

}  // namespace

bool TransitionRunner::run(int code)
{
    if (code >= 10 && code <= 23)
        wipe(code);
    else if (code == 38 || code == 39) {
        if (code == 39)
            preview();
        progressiveDissolve();
    }
    else if (code >= 40 && code <= 47) {
        if (code >= 44)
            preview();
        static const int blockSizes[4] = {32, 16, 8, 4};
        const int size = blockSizes[(code - 40) % 4];
        dissolve(size, size, 0);
    } else if (code == 48 || code == 49)
        randomLines(code == 48);
    else if (code >= 50 && code <= 52)
        lineScan(code);
    else
        return false;
    return true;
}

int TransitionRunner::wipeRects(int code, const KtRect& a, int k, KtRect parts[4], int& first)
{
    const int L = a.left, T = a.top, R = a.right, B = a.bottom;
    const int stepW = (R - L) / wipeSteps > 0 ? (R - L) / wipeSteps : 1;
    const int stepH = (B - T) / wipeSteps > 0 ? (B - T) / wipeSteps : 1;
    const int w = k * stepW, h = k * stepH;
    const int x = L + (R - L - w) / 2, y = T + (B - T - h) / 2;
    first = 0;
    if (k >= wipeSteps) {
        parts[0] = a;
        return 1;
    }
    switch (code) {
    case 10: parts[0].set(L, T, L + w, T + h); break;
    case 11: parts[0].set(L, T, L + w, B); break;
    case 12: parts[0].set(L, B - h, L + w, B); break;
    case 13: parts[0].set(L, B - h, R, B); break;
    case 14: parts[0].set(R - w, B - h, R, B); break;
    case 15: parts[0].set(R - w, T, R, B); break;
    case 16: parts[0].set(R - w, T, R, T + h); break;
    case 17: parts[0].set(L, T, R, T + h); break;
    case 18: parts[0].set(L, y, R, y + h); break;
    case 19: parts[0].set(x, T, x + w, B); break;
    case 20: parts[0].set(x, y, x + w, y + h); break;
    case 21:
        parts[0].set(L, T, R, T + h / 2);
        parts[1].set(L, B - h / 2, R, B);
        first = 1;
        return 2;
    case 22:
        parts[0].set(L, T, L + w / 2, B);
        parts[1].set(R - w / 2, T, R, B);
        first = 1;
        return 2;
    case 23:
        parts[0].set(L, T, R, T + h / 2);
        parts[1].set(L, T, L + w / 2, B);
        parts[2].set(L, B - h / 2, R, B);
        parts[3].set(R - w / 2, T, R, B);
        first = 3;
        return 4;
    default: return 0;
    }
    return 1;
}

void TransitionRunner::wipe(int code)
{
    shownCount_ = 0;
    for (int k = 1; k <= wipeSteps; ++k) {
        KtRect parts[4];
        int first = 0;
        const int count = wipeRects(code, area_, k, parts, first);
        for (int i = 0; i < first; ++i)
            reveal(parts[i]);
        screen_.pause(wipeStepMs);
        for (int i = first; i < count; ++i)
            reveal(parts[i]);
        // Every part grows from the same part of the step before, so what the
        // next step must not copy again is this step's parts.
        shownCount_ = count;
        for (int i = 0; i < count; ++i)
            shown_[i] = parts[i];
    }
}

void TransitionRunner::reveal(const KtRect& part)
{
    KtRect pieces[32] = {part};
    int n = 1;
    if (!pieces[0].intersect(area_))
        return;
    for (int i = 0; i < shownCount_ && n > 0; ++i)
        n = subtract(pieces, n, 32, shown_[i]);
    // The pieces of one part are revealed together: one screen update.
    for (int i = 0; i < n; ++i)
        screen_.copyLater(pieces[i]);
    if (n > 0)
        screen_.showBatch();
    // Parts of one step may overlap (the corners of code 23): what this part
    // showed is not shown again by the next part of the same step.
    if (shownCount_ < 8)
        shown_[shownCount_++] = part;
}

void TransitionRunner::copyLater(const KtRect& r)
{
    KtRect part = r;
    if (part.intersect(area_))
        screen_.copyLater(part);
}

// The lines between two pauses follow each other without a wait, so they
// reach the screen as one batch, shown before each pause and at the end.
void TransitionRunner::columnScan(int from, int to, int stride, int pauseEvery)
{
    const int step = from <= to ? stride : -stride;
    int line = 0;
    for (int x = from; from <= to ? x < to : x > to; x += step, ++line) {
        copyLater(KtRect(area_.left + x, area_.top, area_.left + x + 1, area_.bottom));
        if (pauseEvery > 0 && line % pauseEvery == 0) {
            screen_.showBatch();
            screen_.pause(1);
        }
    }
    screen_.showBatch();
}

void TransitionRunner::rowScan(int from, int to, int stride, int pauseEvery)
{
    const int step = from <= to ? stride : -stride;
    int line = 0;
    for (int y = from; from <= to ? y < to : y > to; y += step, ++line) {
        copyLater(KtRect(area_.left, area_.top + y, area_.right, area_.top + y + 1));
        if (pauseEvery > 0 && line % pauseEvery == 0) {
            screen_.showBatch();
            screen_.pause(1);
        }
    }
    screen_.showBatch();
}

void TransitionRunner::lineScan(int code)
{
    const int width = area_.width(), height = area_.height();
    // The odd lines run downward from the last odd one; an area of one line
    // has none (its last odd line would be −1, outside the area).
    if (code == 50) {
        rowScan(0, height, 2, scanPauseEvery);
        if (oddTop(height) > 0)
            rowScan(oddTop(height), 0, 2, scanPauseEvery);
        return;
    }
    columnScan(0, width, 2, scanPauseEvery);
    if (code == 52)
        rowScan(0, height, 2, scanPauseEvery);
    if (oddTop(width) > 0)
        columnScan(oddTop(width), 0, 2, scanPauseEvery);
}

void TransitionRunner::preview()
{
    columnScan(0, area_.width(), 2, 0);
    rowScan(0, area_.height(), 2, 0);
    screen_.pause(previewPauseMs);
}

TransitionRunner::Dissolve TransitionRunner::dissolve(int blockW, int blockH, int limit)
{
    const int width = area_.width(), height = area_.height();
    if (width < 1 || height < 1)
        return Dissolve::finished;
    const int cols = (width + blockW - 1) / blockW;
    const int rows = (height + blockH - 1) / blockH;
    KtRandom random;
    random.seed(KtRandom::fullRange);
    random.permute(cols * rows);
    int copied = 0;
    for (int pass = 0; pass < rows; ++pass) {
        for (int c = 0; c < cols; ++c) {
            const int block = random.table[pass * cols + c];
            const int left = area_.left + block % cols * blockW;
            const int top = area_.top + block / cols * blockH;
            copyLater(KtRect(left, top, left + blockW, top + blockH));
            if (limit > 0 && ++copied >= limit) {
                screen_.showBatch();
                return Dissolve::stopped;
            }
        }
        // The screen shows the pass as a whole: it is what the player sees
        // before being asked, and nothing waits between the blocks anyway.
        screen_.showBatch();
        if (screen_.skipRequested())
            return Dissolve::skipped;
    }
    return limit > 0 ? Dissolve::stopped : Dissolve::finished;
}

void TransitionRunner::progressiveDissolve()
{
    // An area too small for one block per 512 pixels skips the limited
    // phases, which would otherwise run without a limit.
    const int limit = area_.width() * area_.height() / 512;
    struct Phase {
        int block, limit;
    };
    const Phase phases[4] = {{4, limit}, {8, limit}, {16, limit / 2}, {32, 0}};
    for (int i = 0; i < 4; ++i) {
        if (i < 3 && phases[i].limit < 1)
            continue;
        if (dissolve(phases[i].block, phases[i].block, phases[i].limit) == Dissolve::skipped)
            return;
    }
}

void TransitionRunner::randomLines(bool rows)
{
    const int count = rows ? area_.height() : area_.width();
    if (count < 1)
        return;
    KtRandom random;
    random.seed(KtRandom::fullRange);
    random.permute(count);
    for (int i = 0; i < count; ++i) {
        const int n = random.table[i];
        if (rows)
            copyLater(KtRect(area_.left, area_.top + n, area_.right, area_.top + n + 1));
        else
            copyLater(KtRect(area_.left + n, area_.top, area_.left + n + 1, area_.bottom));
        if ((i + 1) % linesPerBatch == 0 || i + 1 == count)
            screen_.showBatch();
    }
}
