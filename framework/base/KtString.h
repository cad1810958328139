// KtString: a handle onto a shared, reference-counted Shift-JIS text with a cursor.
#pragma once

#include "KtStringBuffer.h"

// Copies share one buffer; an operation that changes the text first makes a
// buffer of its own when the buffer is shared. The cursor walks the text one
// character at a time and never splits a double-byte character.
class KtString {
public:
    KtString();                                   // growth 256, empty text
    explicit KtString(int growth, const char* text = nullptr);
    KtString(const char* text);                   // growth 256
    KtString(const KtString& other);
    KtString& operator=(const KtString& other);
    virtual ~KtString();

    // Content
    char* create(int growth, const char* text);
    const char* text() const { return buffer_ ? buffer_->text : ""; }
    int length() const { return buffer_ ? buffer_->length : 0; }
    int capacity() const { return buffer_ ? buffer_->capacity : 0; }
    int growth() const { return buffer_ ? buffer_->growth : 0; }
    int references() const { return buffer_ ? buffer_->references : 0; }
    void clear();
    void append(const char* text);
    void appendN(const char* text, int maxBytes);
    void appendInt(int value, int radix = 10, int width = 0);
    void appendUInt(unsigned value, int radix = 10, int width = 0);

    // Walking: a double-byte character is one step.
    const char* cursor() const { return cursor_; }
    void setCursor(const char* position) { cursor_ = const_cast<char*>(position); }
    bool next();
    bool prev();
    int seek(int offset, int origin);
    const char* findFirstOf(const char* set);
    const char* findLastOf(const char* set);
    void extract(KtString& out, const char* start, const char* end) const;

private:
    void release();
    void take(KtStringBuffer* buffer, int cursorOffset);
    static KtStringBuffer* makeBuffer(int growth, const char* text, const char* second,
                                      const char* failureTitle);
    void appendDigits(const char* digits, int width);

    friend struct KtStringLayout;

    KtStringBuffer* buffer_;
    char* cursor_;
};
