// TransitionRunner: the rectangle sequences and pauses of every transition code.
#pragma once
#include "KtRect.h"

class TransitionScreen;

// Reveals `area` of a finished picture on a screen, step by step, as the
// transition code says:
//   10..23  wipes in 16 steps of 10 ms
//   38..47  block dissolves (39 and 44..47 after an interlaced preview)
//   48, 49  every row or column once, in random order, eight lines a batch
//   50..52  interlaced line scans with a 1 ms pause every 6 lines
// Lines and blocks that follow each other without a pause are shown in
// batches (see TransitionScreen::copyLater).
//   others  nothing here: the caller shows the area at once
// Each step copies only what it reveals (the part not copied before), so a
// transition costs about one copy of the area plus its pauses.
class TransitionRunner {
public:
    TransitionRunner(TransitionScreen& screen, const KtRect& area) : screen_(screen), area_(area) {}

    // How a dissolve ended.
    enum class Dissolve { finished, stopped, skipped };

    // Runs the code; false when it is no transition of this class.
    bool run(int code);

    void wipe(int code);
    // One-pixel columns (rows) from `from` toward `to`, every `stride`th,
    // relative to the area; with pauseEvery > 0 a 1 ms pause after the
    // 1st, (pauseEvery + 1)th ... line.
    void columnScan(int from, int to, int stride, int pauseEvery);
    void rowScan(int from, int to, int stride, int pauseEvery);
    void lineScan(int code);
    void preview();
    // Blocks of blockW × blockH in random order, a row's worth per pass,
    // each pass shown as one batch; the right button is asked after each pass. limit > 0 stops after that
    // many blocks (the result is then stopped).
    Dissolve dissolve(int blockW, int blockH, int limit);
    void progressiveDissolve();
    void randomLines(bool rows);

    // The largest odd number below n.
    static int oddTop(int n) { return (n - 1) % 2 != 0 ? n - 1 : n - 2; }
    // The rectangles of wipe step k (1..16) in copying order, before the
    // last part's wait: count of them set in `parts`; `first` of them come
    // before the wait.
    static int wipeRects(int code, const KtRect& area, int k, KtRect parts[4], int& first);

private:
    void reveal(const KtRect& r);
    void copyLater(const KtRect& r);

    TransitionScreen& screen_;
    KtRect area_;
    // What the wipe has shown: the previous step's parts, then this step's.
    KtRect shown_[8];
    int shownCount_ = 0;
};
