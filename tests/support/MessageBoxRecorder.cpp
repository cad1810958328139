// MessageBoxRecorder: recording handler for KtMessageBox.
#include "MessageBoxRecorder.h"

MessageBoxRecorder* MessageBoxRecorder::current_ = nullptr;

MessageBoxRecorder::MessageBoxRecorder()
{
    current_ = this;
    previous_ = KtMessageBox::setHandler(&MessageBoxRecorder::handle);
}

MessageBoxRecorder::~MessageBoxRecorder()
{
    KtMessageBox::setHandler(previous_);
    current_ = nullptr;
}

int MessageBoxRecorder::handle(HWND owner, const char* text, const char* caption, UINT style)
{
    return current_ ? current_->record(owner, text, caption, style) : IDOK;
}

int MessageBoxRecorder::record(HWND owner, const char* text, const char* caption, UINT style)
{
    std::lock_guard<std::mutex> guard(mutex_);
    boxes_.push_back({owner, text ? text : "", caption ? caption : "", style});
    if (answers_.empty())
        return defaultAnswer_;
    int result = answers_.front();
    answers_.pop_front();
    return result;
}

void MessageBoxRecorder::answer(int result)
{
    std::lock_guard<std::mutex> guard(mutex_);
    answers_.push_back(result);
}

void MessageBoxRecorder::answerAlways(int result)
{
    std::lock_guard<std::mutex> guard(mutex_);
    defaultAnswer_ = result;
}

std::vector<MessageBoxRecorder::Box> MessageBoxRecorder::boxes() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return boxes_;
}

size_t MessageBoxRecorder::count() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return boxes_.size();
}

MessageBoxRecorder::Box MessageBoxRecorder::last() const
{
    std::lock_guard<std::mutex> guard(mutex_);
    return boxes_.empty() ? Box{nullptr, "", "", 0} : boxes_.back();
}

void MessageBoxRecorder::clear()
{
    std::lock_guard<std::mutex> guard(mutex_);
    boxes_.clear();
    answers_.clear();
}
