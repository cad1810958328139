// Diagnostics: the six classes, their texts and how they show themselves.
#include "Diagnostic.h"
#include "MessageBoxRecorder.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>
#include <string>

namespace {

// Modules throw and catch diagnostics and call them by slot.
TEST(Diagnostic, SlotsKeepTheOrderModulesCall)
{
    EXPECT_EQ(1, slotNumber(static_cast<int (Diagnostic::*)(HWND)>(&Diagnostic::show)));
    EXPECT_EQ(2, slotNumber(static_cast<int (Diagnostic::*)()>(&Diagnostic::show)));
    EXPECT_EQ(3, slotNumber(&Diagnostic::title));
    EXPECT_EQ(4, slotNumber(&Diagnostic::setTitle));
    EXPECT_EQ(5, slotNumber(&Diagnostic::message));
    EXPECT_EQ(6, slotNumber(&Diagnostic::setMessage));
    EXPECT_EQ(7, slotNumber(&Diagnostic::appendMessage));
    // A derived class adds no slot in between.
    EXPECT_EQ(5, slotNumber(&CannotReadException::message));
}

// Records what reaches setMessage, to prove appendMessage goes through it.
class RecordingDiagnostic : public Diagnostic {
public:
    using Diagnostic::Diagnostic;
    void setMessage(const char* text) override
    {
        seen = text ? text : "(null)";
        Diagnostic::setMessage(text);
    }
    std::string seen;
};

template <class T>
void expectCaughtAsDiagnostic(const char* title)
{
    try {
        throw T(title, "メモリが足りません！");
    } catch (Diagnostic& d) {
        EXPECT_STREQ(title, d.title());
        EXPECT_STREQ("メモリが足りません！", d.message());
        EXPECT_NE(nullptr, dynamic_cast<T*>(&d));
        return;
    }
    ADD_FAILURE() << "not caught as Diagnostic: " << title;
}

TEST(Diagnostic, EveryDerivedClassIsCaughtByReferenceToTheBase)
{
    expectCaughtAsDiagnostic<NotEnoughMemoryException>("KtHeap - malloc");
    expectCaughtAsDiagnostic<CannotLoadException>("KtVelka - load");
    expectCaughtAsDiagnostic<CannotOpenException>("cannot open");
    expectCaughtAsDiagnostic<CannotReadException>("cannot read");
    expectCaughtAsDiagnostic<CannotWriteException>("cannot write");
}

TEST(Diagnostic, ShowUsesMessageAsTextTitleAsCaptionAndReturnsTheAnswer)
{
    MessageBoxRecorder boxes;
    boxes.answer(IDOK);
    CannotOpenException e("cannot open", "C:\\game\\a.bmp");
    HWND owner = reinterpret_cast<HWND>(0x1234);
    EXPECT_EQ(IDOK, e.show(owner));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(owner, boxes.last().owner);
    EXPECT_EQ("C:\\game\\a.bmp", boxes.last().text);
    EXPECT_EQ("cannot open", boxes.last().caption);
    EXPECT_EQ(0x12000u, boxes.last().style);

    EXPECT_EQ(IDOK, e.show());
    EXPECT_EQ(nullptr, boxes.last().owner);
}

TEST(Diagnostic, NullTextsShowEmptyAndSettersIgnoreNull)
{
    MessageBoxRecorder boxes;
    Diagnostic d(nullptr, nullptr);
    EXPECT_EQ(nullptr, d.title());
    d.show();
    EXPECT_EQ("", boxes.last().text);
    EXPECT_EQ("", boxes.last().caption);

    d.setTitle("KtFile - open");
    d.setTitle(nullptr);
    EXPECT_STREQ("KtFile - open", d.title());
    d.setMessage("a");
    d.setMessage(nullptr);
    EXPECT_STREQ("a", d.message());
}

TEST(Diagnostic, AppendMessageGoesThroughTheVirtualSetMessage)
{
    RecordingDiagnostic d("t", "ファイル");
    d.appendMessage("");
    d.appendMessage(nullptr);
    EXPECT_EQ("", d.seen);
    EXPECT_STREQ("ファイル", d.message());

    d.appendMessage("が見つかりません");
    EXPECT_EQ("ファイルが見つかりません", d.seen);
    EXPECT_STREQ("ファイルが見つかりません", d.message());
}

TEST(Diagnostic, AppendToANullMessageGivesTheArgument)
{
    Diagnostic d("t", nullptr);
    d.appendMessage("x");
    EXPECT_STREQ("x", d.message());
}

TEST(Diagnostic, ACopyOwnsItsOwnTexts)
{
    auto* original = new CannotReadException("cannot read", "a.dat");
    Diagnostic copy(*original);
    EXPECT_NE(original->message(), copy.message());
    delete original;
    EXPECT_STREQ("a.dat", copy.message());
    EXPECT_STREQ("cannot read", copy.title());
}

TEST(Diagnostic, LayoutIsSharedWithModules)
{
    static_assert(sizeof(Diagnostic) == 12, "vtable, title, message");
    static_assert(sizeof(CannotOpenException) == sizeof(Diagnostic), "no fields added");
}

}  // namespace
