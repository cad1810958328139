// KtPathName: one absolute file or directory path, resolved from the path forms the system accepts.
#pragma once
#include "KtString.h"

// Turns relative names, "%:" game-disc paths, drive-qualified and UNC paths
// and well-known folders into absolute paths. A directory path made here
// ends with a backslash. Every file of the system is named through one.
//
// The scenario module calls the virtual operations through the vtable, so
// their order must not change.
class KtPathName {
public:
    // Well-known folders of setSpecial besides the shell folders (CSIDL codes).
    enum Folder {
        executableFile = 0x7777,
        executableDirectory = 0x7778,
        currentDirectory = 0x7779,
        windowsDirectory = 0x777A,
        systemDirectory = 0x777B,
        lastCurrentDirectory = 0x7780,  // 0x777C to here also give the current directory
    };

    KtPathName();                       // the empty path
    explicit KtPathName(const char* text);
    KtPathName(const KtPathName& other) = default;
    KtPathName& operator=(const KtPathName& other) = default;

    virtual ~KtPathName();                                    // slot 0 (two entries)
    // The current directory followed directly by name's text.
    virtual void setInCurrentDirectory(const KtPathName& name); // slot 1
    virtual void set(const KtString& text);                   // slot 2
    virtual void set(const char* text);                       // slot 3
    // One of the Folder codes or a shell folder; any other code changes nothing.
    virtual void setSpecial(int folder);                      // slot 4
    // The process's current directory with a trailing backslash.
    virtual void setCurrentDirectory();                       // slot 5

    // True when the last character is not a backslash, and for paths of
    // fewer than two characters. Puts the cursor on the first byte.
    bool lacksTrailingBackslash();
    // Replaces the file name's extension; extension includes its full stop.
    void setExtension(const char* extension);
    // The path up to and including its last backslash (the whole path when
    // it has none). Puts the cursor on the first byte.
    void getDirectory(KtString& out);

    const char* text() const { return path_.text(); }
    int length() const { return path_.length(); }
    const KtString& string() const { return path_; }

    static constexpr int growth = 512;

private:
    friend struct KtPathNameLayout;

    bool readCurrentDirectory(KtString& out);
    void setGameDisc(const char* rest);
    void storeDirectory(const char* directory);
    void setShellFolder(int csidl);
    void rewind() { path_.setCursor(path_.text()); }

    KtString path_;
};
