// KtEvent: an owned Win32 event whose operations the scenario module calls through the virtual table.
#pragma once
#include <windows.h>

// The slot order below is shared with scenario modules: do not reorder,
// insert or remove virtual functions. Every operation on an object without
// an event does nothing and returns 0.
class KtEvent {
public:
    KtEvent() : handle(nullptr) {}
    virtual ~KtEvent();                                       // slot 0: closes the event

    // Creates an unnamed event; an existing event is returned unchanged,
    // with its old settings.
    virtual HANDLE create(BOOL manualReset, BOOL initialState);  // slot 1
    // Closes the event; returns the CloseHandle result, 0 without an event.
    virtual BOOL close();                                     // slot 2
    virtual BOOL set();                                       // slot 3
    virtual BOOL reset();                                     // slot 4
    virtual BOOL pulse();                                     // slot 5
    // WaitForSingleObject's result; 0 at once without an event.
    virtual DWORD wait(DWORD milliseconds);                   // slot 6
    // The host sets events only through signal, so that a derived set is
    // honoured wherever the host signals.
    virtual BOOL signal();                                    // slot 7: calls slot 3
    virtual BOOL unsignal();                                  // slot 8: calls slot 4

    // One owner per event: a copy would close it twice.
    KtEvent(const KtEvent&) = delete;
    KtEvent& operator=(const KtEvent&) = delete;

    HANDLE handle;                                            // null when no event exists
};
