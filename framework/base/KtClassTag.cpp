// KtClassTag: naming, comparing, saving and recognising class tags.
#include "KtClassTag.h"
#include "KtFile.h"
#include "KtStringRecord.h"
#include <windows.h>

#ifndef _WIN64
static_assert(sizeof(KtClassTag) == 16, "vtable pointer, then the name string");
#else
static_assert(sizeof(KtClassTag) == sizeof(void*) + sizeof(KtString), "vtable pointer, then the name string");
#endif

namespace {
constexpr int nameGrowth = 256;
}

KtClassTag::KtClassTag() : name_(nameGrowth, "")
{
}

KtClassTag::KtClassTag(const char* name) : name_(nameGrowth, name)
{
}

KtClassTag::~KtClassTag() = default;

void KtClassTag::assign(const KtString& other)
{
    name_ = other;
}

void KtClassTag::assign(const char* text)
{
    name_.create(nameGrowth, text);
}

int KtClassTag::reserved()
{
    return 0;
}

bool KtClassTag::equals(const KtString& other)
{
    // One buffer means one text pointer.
    if (name_.text() == other.text())
        return true;
    return lstrcmpA(name_.text(), other.text()) == 0;
}

bool KtClassTag::equals(const char* text)
{
    return lstrcmpA(name_.text(), text ? text : "") == 0;
}

bool KtClassTag::matchInFile(KtFile& file)
{
    if (!file.isOpen())
        return false;
    DWORD start = KtStringRecord::position(file);
    DWORD count = 0;
    bool whole = KtStringRecord::readCount(file, count);
    KtStringRecord::rewind(file, start);
    // Compare lengths first: a record of another length is not read at all.
    if (!whole || count != static_cast<DWORD>(name_.length()) + 1)
        return false;
    KtString stored;
    KtStringRecord::load(stored, file);
    if (equals(stored))
        return true;
    KtStringRecord::rewind(file, start);
    return false;
}

KtString& KtClassTag::name()
{
    return name_;
}

void KtClassTag::save(KtFile& file)
{
    KtStringRecord::save(name_, file);
}

void KtClassTag::load(KtFile& file)
{
    KtStringRecord::load(name_, file);
}
