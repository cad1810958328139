// KtCaret: one caret per object, positions, and the blink time put back when the caret goes.
#include "KtCaret.h"
#include "KtWindow.h"
#include <cstddef>
#include <gtest/gtest.h>

namespace {

class CaretWindow : public KtWindow {
public:
    CaretWindow() : KtWindow(nullptr) {}
    const char* className() override { return "KtCaretTestWindow"; }
    DWORD style() override { return WS_POPUP; }
    int initialWidth() override { return 100; }
    int initialHeight() override { return 50; }
};

// Blink times are a setting of the whole session: each test puts the one it
// found back.
class Caret : public ::testing::Test {
protected:
    void SetUp() override
    {
        original_ = GetCaretBlinkTime();
        ASSERT_TRUE(window_.create());
    }
    void TearDown() override
    {
        SetCaretBlinkTime(original_);
        window_.onClose();
    }
    UINT original_ = 0;
    CaretWindow window_;
};

TEST_F(Caret, ANewCaretObjectIsEmptyAndHasNoPosition)
{
    KtCaret caret;
    EXPECT_EQ(nullptr, caret.window);
    EXPECT_EQ(0, caret.width);
    EXPECT_EQ(0, caret.height);
    EXPECT_EQ(0u, caret.savedBlinkTime);
    EXPECT_EQ(KtPoint(0, 0), caret.position);
    caret.setPos(5, 5);
    EXPECT_EQ(KtPoint(-1, -1), caret.getPos());
    EXPECT_EQ(KtPoint(-1, -1), caret.position);
    caret.destroy();   // nothing to destroy: harmless
}

TEST_F(Caret, CreateRecordsTheCaretAndPositionsAreReadBack)
{
    KtCaret caret;
    ASSERT_EQ(1, caret.create(window_.handle, 2, 16, nullptr));
    EXPECT_EQ(window_.handle, caret.window);
    EXPECT_EQ(2, caret.width);
    EXPECT_EQ(16, caret.height);
    EXPECT_EQ(GetCaretBlinkTime(), caret.savedBlinkTime);
    caret.setPos(12, 7);
    EXPECT_EQ(KtPoint(12, 7), caret.getPos());
}

// The time saved is the one read after the caret was made. (Wine also puts
// the configured time back when a caret is made, which Windows does not;
// the checks below hold on both.)
TEST_F(Caret, RecreatingRestoresTheBlinkTimeOfTheOldCaretFirst)
{
    KtCaret caret;
    ASSERT_EQ(1, caret.create(window_.handle, 2, 16, nullptr));
    UINT saved = caret.savedBlinkTime;
    SetCaretBlinkTime(saved + 70);   // as a text input might
    ASSERT_EQ(1, caret.create(window_.handle, 3, 10, nullptr));
    EXPECT_EQ(saved, caret.savedBlinkTime) << "the old caret's time came back before the new caret";
    EXPECT_EQ(3, caret.width);
    SetCaretBlinkTime(saved + 70);
    caret.destroy();
    EXPECT_EQ(saved, GetCaretBlinkTime());
    EXPECT_EQ(nullptr, caret.window);
    EXPECT_EQ(0u, caret.savedBlinkTime);
    EXPECT_EQ(KtPoint(-1, -1), caret.getPos());
}

TEST_F(Caret, TheDestructorDestroysTheCaretAndRestoresTheBlinkTime)
{
    UINT saved;
    {
        KtCaret caret;
        ASSERT_EQ(1, caret.create(window_.handle, 2, 16, nullptr));
        saved = caret.savedBlinkTime;
        SetCaretBlinkTime(saved + 70);
    }
    EXPECT_EQ(saved, GetCaretBlinkTime());
}

TEST_F(Caret, ASecondCaretObjectOnTheSameWindowTakesTheCaretAndBothLetGo)
{
    KtCaret first;
    KtCaret second;
    ASSERT_EQ(1, first.create(window_.handle, 2, 16, nullptr));
    ASSERT_EQ(1, second.create(window_.handle, 4, 8, nullptr));
    second.setPos(30, 3);
    EXPECT_EQ(KtPoint(30, 3), first.getPos()) << "one caret per thread: both see it";
    second.destroy();
    EXPECT_FALSE(second.exists());
    EXPECT_EQ(1, second.create(window_.handle, 4, 8, nullptr)) << "a caret can be made again";
}

TEST_F(Caret, ACaretThatCannotBeMadeIsNotRecorded)
{
    KtCaret caret;
    EXPECT_EQ(0, caret.create(nullptr, 2, 16, nullptr));
    EXPECT_EQ(nullptr, caret.window);
    EXPECT_EQ(0, caret.width);
}

}  // namespace
