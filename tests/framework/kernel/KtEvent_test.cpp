// KtEvent: its slots as a scenario module calls them, reset modes, time-outs and handle ownership.
#include "KtEvent.h"
#include "VirtualSlot.h"
#include <gtest/gtest.h>

namespace {

enum Slot { create = 1, close, set, reset, pulse, wait, signal, unsignal };

bool handleIsOpen(HANDLE h)
{
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
}

TEST(KtEvent, WithoutAnEventEveryOperationReturnsZeroAtOnce)
{
    KtEvent event;
    EXPECT_EQ(nullptr, event.handle);
    EXPECT_EQ(0, event.close());
    EXPECT_EQ(0, event.set());
    EXPECT_EQ(0, event.reset());
    EXPECT_EQ(0, event.pulse());
    EXPECT_EQ(0, event.signal());
    EXPECT_EQ(0, event.unsignal());
    DWORD before = GetTickCount();
    EXPECT_EQ(0u, event.wait(INFINITE));
    EXPECT_LT(GetTickCount() - before, 1000u);
}

TEST(KtEvent, CreateOnAnExistingEventKeepsItAndItsSettings)
{
    KtEvent event;
    HANDLE first = event.create(FALSE, FALSE);
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(first, event.create(TRUE, TRUE));
    EXPECT_EQ(first, event.handle);
    // Still not signalled and still auto-reset.
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.wait(0));
    event.signal();
    EXPECT_EQ(WAIT_OBJECT_0, event.wait(0));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.wait(0));
}

TEST(KtEvent, ManualResetStaysSignalledUntilUnsignalled)
{
    KtEvent event;
    ASSERT_NE(nullptr, event.create(TRUE, TRUE));
    EXPECT_EQ(WAIT_OBJECT_0, event.wait(0));
    EXPECT_EQ(WAIT_OBJECT_0, event.wait(0));
    EXPECT_NE(0, event.unsignal());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.wait(0));
    EXPECT_NE(0, event.signal());
    EXPECT_EQ(WAIT_OBJECT_0, event.wait(0));
    // A pulse with nobody waiting leaves a manual-reset event unsignalled.
    EXPECT_NE(0, event.pulse());
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.wait(0));
}

TEST(KtEvent, WaitOnAnUnsignalledEventTimesOutAfterItsTime)
{
    KtEvent event;
    ASSERT_NE(nullptr, event.create(TRUE, FALSE));
    DWORD before = GetTickCount();
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.wait(60));
    EXPECT_GE(GetTickCount() - before, 40u);
}

TEST(KtEvent, CloseAndDestructionReallyCloseTheHandle)
{
    HANDLE closedByClose;
    {
        KtEvent event;
        closedByClose = event.create(TRUE, FALSE);
        ASSERT_TRUE(handleIsOpen(closedByClose));
        EXPECT_NE(0, event.close());
        EXPECT_EQ(nullptr, event.handle);
        EXPECT_FALSE(handleIsOpen(closedByClose));
        EXPECT_EQ(0, event.close()) << "a second close must not close again";
    }
    HANDLE closedByDestructor;
    {
        KtEvent event;
        closedByDestructor = event.create(FALSE, TRUE);
        ASSERT_TRUE(handleIsOpen(closedByDestructor));
    }
    SetLastError(0xdeadbeef);
    HANDLE copy = nullptr;
    EXPECT_FALSE(DuplicateHandle(GetCurrentProcess(), closedByDestructor, GetCurrentProcess(),
                                 &copy, 0, FALSE, DUPLICATE_SAME_ACCESS));
    EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_HANDLE), GetLastError());
}

TEST(KtEvent, SlotsReachTheirOperationsThroughTheTable)
{
    KtEvent event;
    HANDLE h = callSlot<HANDLE>(&event, create, TRUE, FALSE);
    ASSERT_NE(nullptr, h);
    EXPECT_EQ(h, event.handle);
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), callSlot<DWORD>(&event, wait, DWORD(0)));
    EXPECT_NE(0, callSlot<BOOL>(&event, set));
    EXPECT_EQ(WAIT_OBJECT_0, callSlot<DWORD>(&event, wait, DWORD(0)));
    EXPECT_NE(0, callSlot<BOOL>(&event, reset));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.wait(0));
    EXPECT_NE(0, callSlot<BOOL>(&event, signal));
    EXPECT_EQ(WAIT_OBJECT_0, event.wait(0));
    EXPECT_NE(0, callSlot<BOOL>(&event, unsignal));
    EXPECT_EQ(static_cast<DWORD>(WAIT_TIMEOUT), event.wait(0));
    EXPECT_NE(0, callSlot<BOOL>(&event, pulse));
    EXPECT_NE(0, callSlot<BOOL>(&event, close));
    EXPECT_EQ(nullptr, event.handle);
}

// Counts how often signal and unsignal reach the overridden slots 3 and 4.
class CountingEvent : public KtEvent {
public:
    BOOL set() override
    {
        ++sets;
        return KtEvent::set();
    }
    BOOL reset() override
    {
        ++resets;
        return KtEvent::reset();
    }
    int sets = 0;
    int resets = 0;
};

TEST(KtEvent, SignalAndUnsignalGoThroughTheOverriddenSetAndReset)
{
    CountingEvent event;
    event.create(TRUE, FALSE);
    KtEvent& base = event;
    base.signal();
    callSlot<BOOL>(&event, signal);
    base.unsignal();
    EXPECT_EQ(2, event.sets);
    EXPECT_EQ(1, event.resets);
}

}  // namespace
