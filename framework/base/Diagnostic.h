// Diagnostic and the five exceptions derived from it: how a failure stops an operation.
#pragma once
#include <windows.h>

// A failure that stops an operation. Carries a title (class and operation,
// "KtFile - open") and a message (Japanese text or a file name). The field
// order and the order of the virtual operations are shared with scenario
// modules, which catch and throw these across the DLL boundary.
class Diagnostic {
public:
    Diagnostic(const char* title, const char* message);
    virtual ~Diagnostic();                           // slot 0 (two entries)
    virtual int show(HWND owner);                    // slot 1
    virtual int show();                              // slot 2
    virtual const char* title();                     // slot 3
    virtual void setTitle(const char* text);         // slot 4
    virtual const char* message();                   // slot 5
    virtual void setMessage(const char* text);       // slot 6
    virtual void appendMessage(const char* text);    // slot 7

    // Diagnostics are thrown by value and caught by reference. A copy gets
    // texts of its own, so the two never free the same block.
    Diagnostic(const Diagnostic& other);
    Diagnostic& operator=(const Diagnostic&) = delete;

protected:
    char* title_;
    char* message_;
};

class NotEnoughMemoryException : public Diagnostic {
public:
    using Diagnostic::Diagnostic;
    ~NotEnoughMemoryException() override;
};

class CannotLoadException : public Diagnostic {
public:
    using Diagnostic::Diagnostic;
    ~CannotLoadException() override;
};

class CannotOpenException : public Diagnostic {
public:
    using Diagnostic::Diagnostic;
    ~CannotOpenException() override;
};

class CannotReadException : public Diagnostic {
public:
    using Diagnostic::Diagnostic;
    ~CannotReadException() override;
};

class CannotWriteException : public Diagnostic {
public:
    using Diagnostic::Diagnostic;
    ~CannotWriteException() override;
};
