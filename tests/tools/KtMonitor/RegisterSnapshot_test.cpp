// Tests of the monitor's listing: escaping of Shift-JIS texts, and reading back a listing of any length.
#include "RegisterSnapshot.h"
#include "WindowText.h"
#include <gtest/gtest.h>
#include <windows.h>
#include <string>

namespace {

TEST(RegisterSnapshot, EscapesOnlyRealBackslashesAndLineEnds)
{
    ASSERT_EQ(932u, GetACP());
    struct Case {
        const char* name;
        std::string text;
        std::string expected;
    };
    // "ソ" and "表" end in the byte 0x5C, "ア" is a single-byte kana.
    const Case cases[] = {
        {"plain", "abc", "abc"},
        {"backslash", "a\\b", "a\\\\b"},
        {"line ends", "a\r\nb", "a\\r\\nb"},
        {"trail byte 0x5C", "\x83\x5C", "\x83\x5C"},
        {"two of them", "\x83\x5C\x95\x5C", "\x83\x5C\x95\x5C"},
        {"then a backslash", "\x83\x5C\\", "\x83\x5C\\\\"},
        {"single-byte kana", "\xB1\\", "\xB1\\\\"},
        {"lead byte last", "a\x83", "a\x83"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, RegisterSnapshot::escaped(c.text)) << c.name;

    RegisterSnapshot snapshot;
    snapshot.strings = {"\x83\x5C"};
    EXPECT_EQ("string[0]=\x83\x5C\n", snapshot.format("\n"));
}

TEST(WindowText, ReadsTextsLongerThanAnyFixedBuffer)
{
    HWND edit = CreateWindowExA(0, "EDIT", "", WS_POPUP | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL, 0, 0, 100, 100, nullptr,
                                nullptr, GetModuleHandleA(nullptr), nullptr);
    ASSERT_NE(nullptr, edit);
    for (size_t length : {size_t(0), size_t(1), size_t(1023), size_t(1024), size_t(5000)}) {
        std::string text;
        for (size_t i = 0; i < length; ++i)
            text += (i % 40 == 38) ? '\r' : (i % 40 == 39) ? '\n' : char('a' + i % 26);
        SendMessageA(edit, EM_SETLIMITTEXT, 0, 0);
        ASSERT_TRUE(SetWindowTextA(edit, text.c_str()));
        EXPECT_EQ(text, WindowText::read(edit)) << length;
    }
    DestroyWindow(edit);
    EXPECT_EQ("", WindowText::read(edit)) << "a dead window";
    EXPECT_EQ("", WindowText::read(nullptr));
}

}  // namespace
