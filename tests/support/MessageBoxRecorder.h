// MessageBoxRecorder: stands in for every message box while a test runs.
#pragma once
#include "KtMessageBox.h"
#include <deque>
#include <mutex>
#include <string>
#include <vector>

// Installs itself as the message box handler for its lifetime, records each
// box (owner, text, caption, style) and answers with scripted results.
// Thread-safe: boxes may come from any thread of the test.
class MessageBoxRecorder {
public:
    struct Box {
        HWND owner;
        std::string text;
        std::string caption;
        UINT style;
    };

    MessageBoxRecorder();
    ~MessageBoxRecorder();
    MessageBoxRecorder(const MessageBoxRecorder&) = delete;
    MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

    // Answers given to the next boxes, in order; once they are used up every
    // box is answered with the default answer (IDOK unless changed).
    void answer(int result);
    void answerAlways(int result);

    std::vector<Box> boxes() const;
    size_t count() const;
    Box last() const;
    void clear();

private:
    static int handle(HWND owner, const char* text, const char* caption, UINT style);
    int record(HWND owner, const char* text, const char* caption, UINT style);

    static MessageBoxRecorder* current_;
    KtMessageBox::Handler previous_;
    mutable std::mutex mutex_;
    std::vector<Box> boxes_;
    std::deque<int> answers_;
    int defaultAnswer_ = IDOK;
};
