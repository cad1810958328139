// ShortWrites: the patched WriteFile that cuts the first calls short.
#include "ShortWrites.h"

ShortWrites* ShortWrites::current_ = nullptr;

ShortWrites::ShortWrites(int times, DWORD keep)
    : left_(times), keep_(keep),
      patch_("kernel32.dll", "WriteFile", reinterpret_cast<const void*>(&ShortWrites::writeFile))
{
    current_ = this;
}

ShortWrites::~ShortWrites()
{
    current_ = nullptr;
}

BOOL WINAPI ShortWrites::writeFile(HANDLE file, LPCVOID buffer, DWORD size, LPDWORD done,
                                   LPOVERLAPPED overlapped)
{
    ShortWrites* self = current_;
    ++self->calls_;
    if (self->left_ > 0) {
        --self->left_;
        if (size > self->keep_)
            size = self->keep_;
    }
    return WriteFile(file, buffer, size, done, overlapped);
}
