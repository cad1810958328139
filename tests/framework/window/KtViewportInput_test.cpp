// KtViewport as a text field: length limits, backspace, ignored keys, the caret across focus changes, the text on screen.
#include "KtViewport.h"
#include "ViewportStage.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <string>

namespace {

const COLORREF ink = RGB(0, 255, 0);
const WPARAM hiraganaA = 0x82A0;   // "あ" in Shift-JIS, lead byte 0x82

// A text field as a scenario module sets one up, counting its repaints.
class Field : public KtViewport {
public:
    explicit Field(HWND parent) : KtViewport(parent, KtString("field"), KtRect(0, 0, 160, 40))
    {
        surface.fill(0, nullptr);   // black
        create();
        KtCriticalSection::Hold hold(inputLock);
        inputX = 8;
        inputY = 10;
        caretY = 10;
        caretX = inputX;
        caretWidth = 2;
        caretHeight = 16;
        charWidth = 16;
        textColor = ink;
        font.handle = CreateFontA(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0, "");
        inputActive = 1;
    }

    void onPaint(PAINTSTRUCT* paint) override
    {
        ++paints;
        KtViewport::onPaint(paint);
    }

    std::string text() const { return inputText.text(); }
    void type(const std::string& keys)
    {
        for (char c : keys)
            SendMessageA(handle, WM_CHAR, BYTE(c), 1);
    }
    LRESULT imeChar(WPARAM code) { return SendMessageA(handle, WM_IME_CHAR, code, 1); }

    int paints = 0;
};

class TextInput : public ::testing::Test {
protected:
    ViewportStage stage;
    Field field{stage.handle()};
};

TEST_F(TextInput, TheFieldHoldsSixteenBytesAndADoubleByteCharacterOnlyWhole)
{
    enum How { key, imeSingle, imeDouble };
    struct Case {
        int typedBefore;   // single-byte characters already in the field
        How how;           // then "z" as a key or through WM_IME_CHAR, or "あ"
        int expectedLength;
    };
    const Case cases[] = {
        {15, key, 16},       {16, key, 16},   // a full field ignores the character
        {15, imeSingle, 16}, {16, imeSingle, 16},
        {14, imeDouble, 16}, {15, imeDouble, 15},   // one byte left: it would be split
    };
    for (const Case& c : cases) {
        field.inputText.clear();
        field.type(std::string(c.typedBefore, 'a'));
        if (c.how == key)
            field.type("z");
        else
            field.imeChar(c.how == imeSingle ? 'z' : hiraganaA);
        EXPECT_EQ(c.expectedLength, field.inputText.length()) << c.typedBefore << " + kind " << c.how;
    }
}

TEST_F(TextInput, ASingleByteImeCharacterIsTypedLikeAKey)
{
    field.type("ab");
    const int paintsTyped = field.paints;
    field.type("c");
    const int paintsForKey = field.paints - paintsTyped;
    const int caretAfterKey = field.caretX;
    field.type("\b");
    const int paintsBefore = field.paints;
    EXPECT_EQ(0, field.imeChar('c'));
    EXPECT_EQ("abc", field.text());
    EXPECT_EQ(paintsForKey, field.paints - paintsBefore);
    EXPECT_EQ(caretAfterKey, field.caretX);
}

TEST_F(TextInput, BackspaceRemovesWholeCharactersAndIgnoredKeysChangeNothing)
{
    field.type("a");
    field.imeChar(hiraganaA);
    field.type("\b");
    EXPECT_EQ("a", field.text()) << "both bytes of the double-byte character go";
    field.type("\b");
    EXPECT_EQ("", field.text());
    EXPECT_EQ(field.inputX, field.caretX) << "an emptied field puts the caret back at its start";

    struct Quiet { WPARAM code; const char* what; };
    field.type("ab");
    for (const Quiet& q : {Quiet{'\r', "carriage return"}, Quiet{'\t', "tab"}, Quiet{27, "escape"}}) {
        const int paints = field.paints;
        SendMessageA(field.handle, WM_CHAR, q.code, 1);
        EXPECT_EQ("ab", field.text()) << q.what;
        EXPECT_EQ(paints, field.paints) << q.what << " repainted";
    }
    field.inputText.clear();
    const int paints = field.paints;
    field.type("\b");
    EXPECT_EQ(paints, field.paints) << "backspace on an empty field repainted";
}

TEST_F(TextInput, ADoubleByteCharacterInTwoKeysIsNeverSplit)
{
    const char lead = char(0x82), trail = char(0xA0);
    field.type(std::string(14, 'a'));
    field.type(std::string{lead, trail});
    EXPECT_EQ(16, field.inputText.length());
    field.type("\b");
    EXPECT_EQ(14, field.inputText.length()) << "the pair is one character";

    // With one byte left both halves stay out, the second posted behind the
    // first as the system does.
    field.type("a");
    PostMessageA(field.handle, WM_CHAR, BYTE(lead), 1);
    PostMessageA(field.handle, WM_CHAR, BYTE(trail), 1);
    ViewportStage::pump(50);
    EXPECT_EQ(std::string(15, 'a'), field.text());
}

// However the two bytes of a character arrive (posted or sent as two
// WM_CHARs, or whole as WM_IME_CHAR from any process, well formed or not),
// the field never keeps half a character, nor loses a key queued behind.
TEST_F(TextInput, HalfACharacterIsNeverKeptHoweverThePairArrives)
{
    enum How { sent, posted, ime };
    struct Case {
        const char* name;
        int typedBefore;      // single-byte characters already in the field
        How how;
        std::string bytes;    // the keys, or the pair of the WM_IME_CHAR
        std::string expected; // then a queued "q" (queued ahead of sent keys) and a typed "z"
    };
    const std::string pair = "\x82\xA0";   // "あ"
    const std::string a14(14, 'a'), a15(15, 'a');
    const Case cases[] = {
        {"sent pair with room", 14, sent, pair, a14 + pair},
        {"posted pair with room", 14, posted, pair, a14 + pair},
        {"sent pair, one byte left", 15, sent, pair, a15 + "q"},
        {"posted pair, one byte left", 15, posted, pair, a15 + "q"},
        {"first half, then a byte no pair ends with", 13, sent, "\x82" "1", std::string(13, 'a') + "1qz"},
        {"second half alone", 13, sent, "\xA0", std::string(13, 'a') + "\xA0qz"},
        {"IME pair with room", 14, ime, pair, a14 + pair},
        {"IME pair, one byte left", 15, ime, pair, a15 + "q"},
        {"IME pair with a second byte of 0", 13, ime, std::string("\x82", 1) + '\0', std::string(13, 'a') + "qz"},
        {"IME pair with a second byte below 0x40", 13, ime, "\x82\x20", std::string(13, 'a') + "qz"},
    };
    for (const Case& c : cases) {
        field.inputText.clear();
        field.type(std::string(c.typedBefore, 'a'));
        if (c.how != posted)
            PostMessageA(field.handle, WM_CHAR, 'q', 1);   // a key already queued
        if (c.how == ime) {
            field.imeChar(WPARAM(BYTE(c.bytes[0])) << 8 | BYTE(c.bytes[1]));
        } else {
            for (char b : c.bytes) {
                if (c.how == sent)
                    SendMessageA(field.handle, WM_CHAR, BYTE(b), 1);
                else
                    PostMessageA(field.handle, WM_CHAR, BYTE(b), 1);
            }
        }
        if (c.how == posted)
            PostMessageA(field.handle, WM_CHAR, 'q', 1);
        ViewportStage::pump(30);
        field.type("z");
        EXPECT_EQ(c.expected, field.text()) << c.name;
    }
}

TEST_F(TextInput, TheCaretComesBackWhereItWasAfterTheFocusLeft)
{
    SetForegroundWindow(stage.handle());
    SetFocus(field.handle);
    ASSERT_EQ(1, field.caretVisible);
    field.type("ab");
    POINT shown;
    ASSERT_TRUE(GetCaretPos(&shown));
    EXPECT_EQ(field.caretX, shown.x);
    EXPECT_EQ(field.caretY, shown.y);
    EXPECT_GT(shown.x, field.inputX);

    SetFocus(stage.handle());
    EXPECT_EQ(0, field.caretVisible);
    EXPECT_FALSE(field.caret.exists());
    EXPECT_EQ(shown.x, field.caretX);

    SetFocus(field.handle);
    POINT back;
    ASSERT_TRUE(GetCaretPos(&back));
    EXPECT_EQ(shown.x, back.x);
    EXPECT_EQ(shown.y, back.y);
    EXPECT_EQ(1, field.caretVisible);
}

// Pixels of the text colour inside and outside the text's box.
struct InkCount { int inside = 0; int outside = 0; };

InkCount countInk(Field& f, const SIZE& box)
{
    InkCount n;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 160; ++x) {
            if (ViewportStage::pixel(f.handle, x, y) != ink)
                continue;
            const bool in = x >= f.inputX && x < f.inputX + box.cx && y >= f.inputY && y < f.inputY + box.cy;
            ++(in ? n.inside : n.outside);
        }
    return n;
}

// Points of `area` that show the surface's white.
int countSurface(Field& f, const RECT& area)
{
    const RGBQUAD white = f.surface.colours()[255];
    const COLORREF surfaceColour = RGB(white.rgbRed, white.rgbGreen, white.rgbBlue);
    int n = 0;
    for (int y = area.top; y < std::min(40, int(area.bottom)); ++y)
        for (int x = area.left; x < std::min(160, int(area.right)); ++x)
            n += ViewportStage::pixel(f.handle, x, y) == surfaceColour;
    return n;
}

TEST_F(TextInput, TheTextIsDrawnInItsColourEvenWhileTheSurfaceIsSuspended)
{
    ASSERT_EQ(32, GetDeviceCaps(GetDC(nullptr), BITSPIXEL)) << "pixel-exact only at depth 24";
    // A suspended surface is not copied, but the text still is drawn.
    field.surface.fill(255, nullptr);   // white, not to be shown
    field.paintSuspended = 1;
    field.type("MW");
    field.imeChar(hiraganaA);
    SIZE box;
    HDC dc = GetDC(field.handle);
    HGDIOBJ old = SelectObject(dc, field.font.handle);
    GetTextExtentPoint32A(dc, field.inputText.text(), field.inputText.length(), &box);
    SelectObject(dc, old);
    ReleaseDC(field.handle, dc);

    InkCount drawn = countInk(field, box);
    EXPECT_GT(drawn.inside, 10);
    EXPECT_EQ(0, drawn.outside);
    EXPECT_EQ(RGB(0, 0, 0), ViewportStage::pixel(field.handle, 150, 35));
    // Typing repainted the text's box; between and around the glyphs of
    // that box the surface would show if it were copied.
    const RECT typed = {field.inputX, field.inputY, field.inputX + box.cx, field.inputY + box.cy};
    EXPECT_EQ(0, countSurface(field, typed)) << "the typed area shows the suspended surface";
    field.redrawRect(nullptr, FALSE);
    EXPECT_EQ(0, countSurface(field, RECT{0, 0, 160, 40})) << "a whole repaint shows it";
    EXPECT_EQ(drawn.inside, countInk(field, box).inside);

    field.surface.fill(0, nullptr);
    field.paintSuspended = 0;
    field.redrawRect(nullptr, FALSE);
    EXPECT_EQ(drawn.inside, countInk(field, box).inside) << "the text is drawn over the surface";
    EXPECT_STREQ("MW\x82\xA0", field.endInput());
    EXPECT_EQ(0, field.inputActive);
    EXPECT_EQ(0, countInk(field, box).inside) << "ending the input repaints the text away";
}

// The window that holds this thread's caret, or null.
HWND caretWindow()
{
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    return GetGUIThreadInfo(GetCurrentThreadId(), &gui) ? gui.hwndCaret : nullptr;
}

// A module may end the input by clearing inputActive under the lock alone:
// the caret does not outlive it, whether the viewport next repaints or loses
// the focus; endInput still repaints the text away afterwards.
TEST_F(TextInput, ClearingTheFlagEndsTheInputWithoutACaretLeftBehind)
{
    enum Then { repaint, focusLeaves, endInput };
    for (Then then : {repaint, focusLeaves, endInput}) {
        SetForegroundWindow(stage.handle());
        {
            KtCriticalSection::Hold hold(field.inputLock);
            field.inputActive = 1;
        }
        SetFocus(field.handle);
        ASSERT_EQ(1, field.caretVisible) << then;
        field.type("ab");
        {
            KtCriticalSection::Hold hold(field.inputLock);
            field.inputActive = 0;
        }
        if (then == repaint)
            field.redrawRect(nullptr, FALSE);
        else if (then == focusLeaves)
            SetFocus(stage.handle());
        else
            EXPECT_STREQ("ab", field.endInput());
        EXPECT_EQ(0, field.caretVisible) << then;
        EXPECT_FALSE(field.caret.exists()) << then;
        EXPECT_NE(field.handle, caretWindow()) << then;
        SetFocus(stage.handle());
        field.inputText.clear();
    }
}

// The WM_KILLFOCUS messages a viewport's window receives while it is
// deleted (the system may send one of its own as the window goes), and
// where the caret was once the first had been handled, and whether the
// viewport's members were still there then.
struct Teardown {
    HWND window = nullptr;
    int killFocus = 0;
    HFONT font = nullptr;
    HWND caretAfterKillFocus = nullptr;
    bool fontAtKillFocus = false;
};
Teardown* watched = nullptr;

LRESULT CALLBACK afterMessage(int code, WPARAM wParam, LPARAM lParam)
{
    const auto* m = reinterpret_cast<const CWPRETSTRUCT*>(lParam);
    if (code == HC_ACTION && watched && m->hwnd == watched->window && m->message == WM_KILLFOCUS) {
        if (watched->killFocus++ == 0) {
            watched->caretAfterKillFocus = caretWindow();
            watched->fontAtKillFocus = GetObjectType(watched->font) == OBJ_FONT;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Deleting a viewport whose input is on, or was ended by the flag alone,
// first takes the caret down through WM_KILLFOCUS, then deletes the font.
TEST(TextInputTeardown, DeletingTheViewportEndsTheInputAndFreesTheFont)
{
    ViewportStage stage;
    for (bool flagCleared : {false, true}) {
        auto* doomed = new Field(stage.handle());
        SetForegroundWindow(stage.handle());
        SetFocus(doomed->handle);
        ASSERT_EQ(1, doomed->caretVisible);
        if (flagCleared) {
            KtCriticalSection::Hold hold(doomed->inputLock);
            doomed->inputActive = 0;
        }
        const HFONT font = doomed->font.handle;
        ASSERT_EQ(DWORD(OBJ_FONT), GetObjectType(font));
        Teardown seen;
        seen.window = doomed->handle;
        seen.font = font;
        watched = &seen;
        HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROCRET, &afterMessage, nullptr, GetCurrentThreadId());
        ASSERT_NE(nullptr, hook);
        delete doomed;
        UnhookWindowsHookEx(hook);
        watched = nullptr;
        EXPECT_LE(1, seen.killFocus) << "flag cleared " << flagCleared;
        EXPECT_NE(seen.window, seen.caretAfterKillFocus) << "flag cleared " << flagCleared;
        EXPECT_TRUE(seen.fontAtKillFocus) << "the input ends before the members go, flag cleared "
                                          << flagCleared;
        EXPECT_EQ(0u, GetObjectType(font)) << "the font is deleted";
    }
}

TEST_F(TextInput, WithInputOffKeysGoToTheDefaultAndTypeNothing)
{
    {
        KtCriticalSection::Hold hold(field.inputLock);
        field.inputActive = 0;
    }
    field.type("ab");
    field.imeChar(hiraganaA);
    ViewportStage::pump(50);
    EXPECT_EQ("", field.text());
    SetForegroundWindow(stage.handle());
    SetFocus(field.handle);
    EXPECT_EQ(0, field.caretVisible);
    EXPECT_FALSE(field.caret.exists());
}

}  // namespace
