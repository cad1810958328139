// Diagnostic: heap copies of title and message, and showing them in a box.
#include "Diagnostic.h"
#include "KtMessageBox.h"
#include <cstdlib>
#include <cstring>
#include <new>

namespace {
// Building a diagnostic happens on paths already short of memory: a failed
// copy leaves the field null instead of throwing.
char* copyText(const char* text)
{
    if (!text)
        return nullptr;
    size_t n = std::strlen(text) + 1;
    char* copy = static_cast<char*>(std::malloc(n));
    if (copy)
        std::memcpy(copy, text, n);
    return copy;
}
}

#ifndef _WIN64
static_assert(sizeof(Diagnostic) == 12, "vtable pointer, title, message");
#else
static_assert(sizeof(Diagnostic) == 3 * sizeof(void*), "vtable pointer, title, message");
#endif

Diagnostic::Diagnostic(const char* title, const char* message)
    : title_(copyText(title)), message_(copyText(message))
{
}

Diagnostic::Diagnostic(const Diagnostic& other)
    : title_(copyText(other.title_)), message_(copyText(other.message_))
{
}

Diagnostic::~Diagnostic()
{
    std::free(title_);
    title_ = nullptr;
    std::free(message_);
    message_ = nullptr;
}

int Diagnostic::show(HWND owner)
{
    return KtMessageBox::show(owner, message_ ? message_ : "", title_ ? title_ : "",
                              KtMessageBox::notice);
}

int Diagnostic::show()
{
    return show(static_cast<HWND>(nullptr));
}

const char* Diagnostic::title()
{
    return title_;
}

void Diagnostic::setTitle(const char* text)
{
    if (!text)
        return;
    std::free(title_);
    title_ = copyText(text);
}

const char* Diagnostic::message()
{
    return message_;
}

void Diagnostic::setMessage(const char* text)
{
    if (!text)
        return;
    std::free(message_);
    message_ = copyText(text);
}

void Diagnostic::appendMessage(const char* text)
{
    if (!text || !*text)
        return;
    size_t oldLength = message_ ? std::strlen(message_) : 0;
    size_t addLength = std::strlen(text);
    char* joined = static_cast<char*>(std::malloc(oldLength + addLength + 1));
    if (!joined)
        return;
    if (oldLength)
        std::memcpy(joined, message_, oldLength);
    std::memcpy(joined + oldLength, text, addLength + 1);
    setMessage(joined);   // virtual: a derived class sees the combined text
    std::free(joined);
}

NotEnoughMemoryException::~NotEnoughMemoryException() = default;
CannotLoadException::~CannotLoadException() = default;
CannotOpenException::~CannotOpenException() = default;
CannotReadException::~CannotReadException() = default;
CannotWriteException::~CannotWriteException() = default;
