// Tests of KtSusiePlugIn against our own plug-ins: search order, import-filter check, file position, block release.
#include "KtSusiePlugIn.h"
#include "KtDib.h"
#include "KtFile.h"
#include "KtRegistryKey.h"
#include "KtRegistryNames.h"
#include "MessageBoxRecorder.h"
#include "ProcessRunner.h"
#include "PixelProbe.h"
#include <gtest/gtest.h>
#include <algorithm>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const traceVariable = "KT_SPI_TRACE";

std::string programDirectory()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length);
    return text.substr(0, text.rfind('\\') + 1);
}

std::string currentDirectory()
{
    char path[MAX_PATH];
    DWORD length = GetCurrentDirectoryA(sizeof path, path);
    std::string text(path, length);
    return text.back() == '\\' ? text : text + "\\";
}

std::string sample(const char* name)
{
    return programDirectory() + "susie-samples\\" + name;
}

std::vector<uint8_t> readAll(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Each line of the plug-ins' trace as "file name:call".
std::vector<std::string> trace()
{
    std::vector<char> text(32768);
    DWORD length = GetEnvironmentVariableA(traceVariable, text.data(), text.size());
    std::vector<std::string> calls;
    std::string all(text.data(), length);
    size_t start = 0;
    for (size_t end; (end = all.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = all.substr(start, end - start);
        size_t slash = line.rfind('\\');
        if (!line.empty())
            calls.push_back(slash == std::string::npos ? line : line.substr(slash + 1));
    }
    return calls;
}

std::vector<std::string> callsOf(const std::string& plugin)
{
    std::vector<std::string> calls;
    for (const std::string& line : trace())
        if (line.compare(0, plugin.size() + 1, plugin + ":") == 0)
            calls.push_back(line.substr(plugin.size() + 1));
    return calls;
}

void setSusiePath(const char* path)
{
    KtRegistryKey key;
    ASSERT_EQ(ERROR_SUCCESS, key.open(HKEY_CURRENT_USER, KtRegistryNames::susieKey));
    key.setString(KtRegistryNames::susiePath, KtString(path));
}

void deleteSusieKey()
{
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Hollin\\Susie\\Plug-in");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Hollin\\Susie");
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Hollin");
}

// The red sample of each pixel, top row first: the grey value of a grey picture.
std::vector<uint8_t> greyTopDown(const PackedDib& picture)
{
    std::vector<uint8_t> rgb = PixelProbe::rgbTopDown(picture);
    std::vector<uint8_t> grey;
    for (size_t i = 0; i < rgb.size(); i += 3)
        grey.push_back(rgb[i]);
    return grey;
}

DWORD position(const KtFile& file)
{
    return SetFilePointer(file.handle, 0, nullptr, FILE_CURRENT);
}

bool loaded(const char* plugin)
{
    return GetModuleHandleA(plugin) != nullptr;
}

class SusiePlugInTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // A value of one line end makes the variable exist for the plug-ins.
        SetEnvironmentVariableA(traceVariable, "\n");
        susieFolder = programDirectory() + "susie-test";
        setSusiePath(susieFolder.c_str());
    }
    void TearDown() override
    {
        SetEnvironmentVariableA(traceVariable, nullptr);
        deleteSusieKey();
    }

    void open(const char* name)
    {
        file.open(sample(name).c_str(), OPEN_EXISTING, GENERIC_READ, FILE_SHARE_READ,
                  FILE_ATTRIBUTE_NORMAL);
    }

    std::string susieFolder;
    KtFile file;
};

using Calls = std::vector<std::string>;

TEST_F(SusiePlugInTest, PatternsNameTheProgramFolderAndTheRegisteredOne)
{
    KtSusiePlugIn plugins;
    EXPECT_EQ(programDirectory() + "*.spi", plugins.programPattern.text());
    EXPECT_EQ(susieFolder + "\\*.spi", plugins.susiePattern.text());
    EXPECT_EQ(nullptr, plugins.plugin.handle);
    EXPECT_EQ(nullptr, plugins.info);
    EXPECT_EQ(nullptr, plugins.bits);

    // A folder registered with its closing backslash gets no second one.
    setSusiePath((susieFolder + "\\").c_str());
    EXPECT_EQ(susieFolder + "\\*.spi", KtSusiePlugIn().susiePattern.text());
}

bool susieKeyExists()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, KtRegistryNames::susieKey, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

// Restores the current directory however the test ends.
struct CurrentDirectory {
    explicit CurrentDirectory(const std::string& folder) : saved(currentDirectory())
    {
        SetCurrentDirectoryA(folder.c_str());
    }
    ~CurrentDirectory() { SetCurrentDirectoryA(saved.c_str()); }
    std::string saved;
};

// The Open dialog leaves the current directory in the folder of the picked
// file, so plug-ins found there would be any code lying beside a picture.
// The Susie folder holds plug-ins that read nothing the program's cannot,
// so a file no plug-in reads shows, by the trace, which folders were tried.
TEST_F(SusiePlugInTest, CurrentDirectoryIsNeverSearched)
{
    struct Case {
        const char* name;
        bool keyPresent;
        const char* path;
    };
    const Case cases[] = {
        {"no key", false, nullptr},
        {"empty Path", true, ""},
        {"relative Path", true, "."},
        {"drive-relative Path", true, "C:"},
    };
    CurrentDirectory moved(susieFolder);
    open("plain.txt");
    for (const Case& c : cases) {
        deleteSusieKey();
        if (c.keyPresent)
            setSusiePath(c.path);
        SetEnvironmentVariableA(traceVariable, "\n");
        KtSusiePlugIn plugins;
        EXPECT_STREQ("", plugins.susiePattern.text()) << c.name;
        PackedDib picture;
        EXPECT_FALSE(plugins.load(file, picture)) << c.name;
        EXPECT_EQ(Calls{}, callsOf("ktpnm-susie.spi")) << c.name;
        EXPECT_EQ(Calls{}, callsOf("ktfail.spi")) << c.name;
        EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported"}), callsOf("ktpnm.spi")) << c.name;
        // The viewer's key is only read: looking for it never makes it.
        EXPECT_EQ(c.keyPresent, susieKeyExists()) << c.name;
    }
}

// What a plug-in imports comes from its own folder or the system's. The
// current directory, which the Open dialog moves to the picked picture's
// folder, gives nothing: ktimport.spi loads only when ktspidep.dll lies
// beside it, whatever folder is current.
TEST_F(SusiePlugInTest, APlugInsImportsComeFromItsOwnFolderNeverTheCurrentOne)
{
    const std::string dependency = programDirectory() + "spi-dependency\\ktspidep.dll";
    const std::string pluginFolder = programDirectory() + "susie-import\\";
    const std::string beside = pluginFolder + "ktspidep.dll";
    struct Case {
        const char* name;
        bool besidePlugin;         // a copy of the library beside the plug-in
        std::string current;       // the current directory meanwhile
        bool loads;
    };
    const Case cases[] = {
        {"beside the plug-in", true, susieFolder, true},
        {"only in the current directory", false, programDirectory() + "spi-dependency", false},
    };
    open("plain.txt");
    for (const Case& c : cases) {
        DeleteFileA(beside.c_str());
        if (c.besidePlugin) {
            ASSERT_TRUE(CopyFileA(dependency.c_str(), beside.c_str(), FALSE)) << GetLastError();
        }
        SetEnvironmentVariableA(traceVariable, "\n");
        {
            CurrentDirectory moved(c.current);
            KtSusiePlugIn plugins;
            PackedDib picture;
            EXPECT_FALSE(plugins.search((pluginFolder + "*.spi").c_str(), file, picture)) << c.name;
        }
        EXPECT_EQ(c.loads ? Calls{"GetPluginInfo"} : Calls{}, callsOf("ktimport.spi")) << c.name;
        EXPECT_FALSE(loaded("ktspidep.dll")) << c.name << ": freed with the plug-in";
    }
    DeleteFileA(beside.c_str());
}

TEST_F(SusiePlugInTest, ProgramFolderRegisteredForTheViewerIsSearchedOnce)
{
    std::string folder = programDirectory();
    for (std::string path : {folder, folder.substr(0, folder.size() - 1)}) {
        // Folder names compare without regard to case.
        for (char& c : path)
            if (c >= 'a' && c <= 'z')
                c = char(c - 'a' + 'A');
        setSusiePath(path.c_str());
        SetEnvironmentVariableA(traceVariable, "\n");
        open("plain.txt");
        KtSusiePlugIn plugins;
        PackedDib picture;
        EXPECT_FALSE(plugins.load(file, picture)) << path;
        EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported"}), callsOf("ktpnm.spi")) << path;
        file.close();
    }
}

TEST_F(SusiePlugInTest, PluginBesideTheProgramWinsAndTheOtherIsNeverLoaded)
{
    open("grey.pgm");
    PackedDib picture;
    {
        KtSusiePlugIn plugins;
        ASSERT_TRUE(plugins.load(file, picture));
        EXPECT_EQ(nullptr, plugins.plugin.handle);
        EXPECT_EQ(nullptr, plugins.info);
        EXPECT_EQ(nullptr, plugins.bits);
        EXPECT_FALSE(loaded("ktpnm.spi"));
    }
    EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported", "GetPicture"}), callsOf("ktpnm.spi"));
    for (const std::string& line : trace())
        EXPECT_EQ(0u, line.find("ktpnm.spi:")) << "loaded from the Susie folder: " << line;

    ASSERT_EQ(8, picture.bitCount());
    ASSERT_EQ(256u, picture.colourCount());
    EXPECT_EQ(readAll(sample("grey.gray")), greyTopDown(picture));
}

TEST_F(SusiePlugInTest, ColourPictureArrivesBottomUpWithPaddedRows)
{
    open("colour.ppm");
    PackedDib picture;
    KtSusiePlugIn plugins;
    ASSERT_TRUE(plugins.load(file, picture));
    EXPECT_EQ(24, picture.bitCount());
    EXPECT_EQ(5, picture.width());
    EXPECT_EQ(3, picture.height());
    EXPECT_EQ(16u, picture.stride());
    EXPECT_EQ(readAll(sample("colour.rgb")), PixelProbe::rgbTopDown(picture));
}

TEST_F(SusiePlugInTest, SamplesBelowFullScaleAreStretched)
{
    open("grey15.pgm");
    PackedDib picture;
    KtSusiePlugIn plugins;
    ASSERT_TRUE(plugins.load(file, picture));
    EXPECT_EQ(readAll(sample("grey15.gray")), greyTopDown(picture));
}

TEST_F(SusiePlugInTest, SusieFolderSkipsTheExportFilterAndSurvivesAFailingPlugin)
{
    open("colour.ppm");
    PackedDib picture;
    KtSusiePlugIn plugins;
    ASSERT_TRUE(plugins.search(plugins.susiePattern.text(), file, picture));
    EXPECT_EQ(readAll(sample("colour.rgb")), PixelProbe::rgbTopDown(picture));
    EXPECT_EQ((Calls{"GetPluginInfo"}), callsOf("ktexport.spi"));
    EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported", "GetPicture"}), callsOf("ktpnm-susie.spi"));
    // Whether the failing plug-in came first depends on the listing order;
    // when it did, it was asked in full and its blocks were freed.
    Calls failing = callsOf("ktfail.spi");
    EXPECT_TRUE(failing.empty() || failing == (Calls{"GetPluginInfo", "IsSupported", "GetPicture"}));
    EXPECT_EQ(nullptr, plugins.plugin.handle);
}

TEST_F(SusiePlugInTest, FileNoPluginReadsLeavesNothingLoadedOrHeld)
{
    open("plain.txt");
    PackedDib picture;
    MessageBoxRecorder boxes;
    KtSusiePlugIn plugins;
    EXPECT_FALSE(plugins.load(file, picture));
    EXPECT_TRUE(picture.empty());
    EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported"}), callsOf("ktpnm.spi"));
    EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported"}), callsOf("ktpnm-susie.spi"));
    EXPECT_EQ((Calls{"GetPluginInfo"}), callsOf("ktexport.spi"));
    EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported", "GetPicture"}), callsOf("ktfail.spi"));
    EXPECT_EQ(nullptr, plugins.plugin.handle);
    EXPECT_EQ(nullptr, plugins.info);
    EXPECT_EQ(nullptr, plugins.bits);
    for (const char* name : {"ktpnm.spi", "ktpnm-susie.spi", "ktexport.spi", "ktfail.spi"})
        EXPECT_FALSE(loaded(name)) << name;
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(0u, position(file));
}

TEST_F(SusiePlugInTest, IsSupportedReadsFromWhereTheFileStandsAndMovesItBack)
{
    KtSusiePlugIn plugins;
    open("prefixed.bin");
    // Nothing to ask without a plug-in.
    EXPECT_FALSE(plugins.isSupported(sample("prefixed.bin").c_str(), file));
    ASSERT_NE(nullptr, plugins.plugin.load((programDirectory() + "ktpnm.spi").c_str()));
    EXPECT_FALSE(plugins.isSupported(nullptr, file));

    EXPECT_FALSE(plugins.isSupported(sample("prefixed.bin").c_str(), file));
    EXPECT_EQ(0u, position(file));
    SetFilePointer(file.handle, 7, nullptr, FILE_BEGIN);
    EXPECT_TRUE(plugins.isSupported(sample("prefixed.bin").c_str(), file));
    EXPECT_EQ(7u, position(file));
    EXPECT_EQ((Calls{"IsSupported", "IsSupported"}), callsOf("ktpnm.spi"));

    file.close();
    EXPECT_FALSE(plugins.isSupported(sample("prefixed.bin").c_str(), file));
    PackedDib picture;
    EXPECT_FALSE(plugins.tryPlugin(file, picture));
}

TEST_F(SusiePlugInTest, FreeBlocksUnlocksAndFreesBothBlocksQuietly)
{
    MessageBoxRecorder boxes;
    KtSusiePlugIn plugins;
    plugins.info = LocalAlloc(LMEM_MOVEABLE, 40);
    plugins.bits = LocalAlloc(LMEM_MOVEABLE, 40);
    ASSERT_NE(nullptr, LocalLock(plugins.info));
    LocalLock(plugins.bits);
    LocalLock(plugins.bits);
    plugins.freeBlocks();
    EXPECT_EQ(nullptr, plugins.info);
    EXPECT_EQ(nullptr, plugins.bits);
    EXPECT_EQ(0u, boxes.count());
    plugins.freeBlocks();  // twice is harmless
    EXPECT_EQ(0u, boxes.count());
}

TEST_F(SusiePlugInTest, BlocksThatCannotBeFreedAreReportedHeaderFirst)
{
    MessageBoxRecorder boxes;
    static char notABlock[2][64];
    {
        KtSusiePlugIn plugins;
        plugins.info = reinterpret_cast<HLOCAL>(notABlock[0] + 8);
        plugins.bits = reinterpret_cast<HLOCAL>(notABlock[1] + 8);
        plugins.freeBlocks();
        // A block that stayed is kept, not forgotten; clear it so that the
        // destructor does not report it again.
        EXPECT_NE(nullptr, plugins.info);
        plugins.info = plugins.bits = nullptr;
    }
    auto shown = boxes.boxes();
    ASSERT_EQ(2u, shown.size());
    EXPECT_EQ("KtSusiePlugIn - 解放できない:header", shown[0].text);
    EXPECT_EQ("KtSusiePlugIn - 解放できない:data", shown[1].text);
    for (const auto& box : shown) {
        EXPECT_EQ("KtString class", box.caption);
        EXPECT_EQ(0x12000u, box.style);
        EXPECT_EQ(nullptr, box.owner);
    }
}

TEST_F(SusiePlugInTest, DibLoaderHandsUnknownFilesToThePlugins)
{
    KtDib dib;
    dib.loadFile(KtString(sample("colour.ppm").c_str()));
    ASSERT_NE(nullptr, dib.header);
    EXPECT_EQ(24, dib.header->biBitCount);
    EXPECT_EQ(5, dib.header->biWidth);
    EXPECT_EQ(3, dib.header->biHeight);
    EXPECT_FALSE(dib.hasColourTable());
    std::vector<uint8_t> rgb = readAll(sample("colour.rgb"));
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x) {
            const BYTE* p = dib.pixelAddress(x, y);
            const uint8_t* expected = &rgb[3 * (y * 5 + x)];
            EXPECT_EQ(expected[0], p[2]) << x << "," << y;
            EXPECT_EQ(expected[1], p[1]) << x << "," << y;
            EXPECT_EQ(expected[2], p[0]) << x << "," << y;
        }
    EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported", "GetPicture"}), callsOf("ktpnm.spi"));
    EXPECT_FALSE(loaded("ktpnm.spi"));

    // A file no plug-in reads leaves the DIB empty.
    dib.loadFile(KtString(sample("plain.txt").c_str()));
    EXPECT_EQ(nullptr, dib.header);
    EXPECT_EQ(nullptr, dib.pixels);
}

TEST(SusieProgress, AnswersOneOnlyAtCompletion)
{
    EXPECT_EQ(0, KtSusiePlugIn::progress(0, 10, 0));
    EXPECT_EQ(0, KtSusiePlugIn::progress(9, 10, 0));
    EXPECT_EQ(1, KtSusiePlugIn::progress(10, 10, 7));
}

// The head of a file may also come as an address, which must reach the
// plug-in whole: placed as high as the process allows, a 64-bit address that
// were cut to 32 bits would point elsewhere.
TEST(SusiePlugInExports, IsSupportedTakesTheFileHeadAtAnyAddress)
{
    HMODULE module = LoadLibraryA((programDirectory() + "ktpnm.spi").c_str());
    ASSERT_NE(nullptr, module);
    using IsSupportedFn = int(__stdcall*)(LPCSTR, DWORD_PTR);
    auto isSupported = reinterpret_cast<IsSupportedFn>(GetProcAddress(module, "IsSupported"));
    ASSERT_NE(nullptr, isSupported);
    auto* head = static_cast<char*>(
        VirtualAlloc(nullptr, 65536, MEM_RESERVE | MEM_COMMIT | MEM_TOP_DOWN, PAGE_READWRITE));
    ASSERT_NE(nullptr, head);
    std::vector<uint8_t> picture = readAll(sample("colour.ppm"));
    const std::vector<uint8_t> other = readAll(sample("plain.txt"));
    struct Case { const char* name; const std::vector<uint8_t>& bytes; int expected; };
    for (const Case& c : {Case{"colour.ppm", picture, 1}, Case{"plain.txt", other, 0}}) {
        std::memset(head, 0, 65536);
        std::memcpy(head, c.bytes.data(), std::min<size_t>(c.bytes.size(), 2048));
        EXPECT_EQ(c.expected, isSupported(c.name, reinterpret_cast<DWORD_PTR>(head)))
            << c.name << " at " << static_cast<const void*>(head);
    }
    VirtualFree(head, 0, MEM_RELEASE);
    FreeLibrary(module);
}

// A program folder whose Shift-JIS name passes 262 bytes while staying well
// under MAX_PATH characters: a copy of this test program runs from there with
// the current directory in the Susie folder, whose plug-ins read what the
// program's own do. The copy's test below reports what it found.
const char* const longFolderVariable = "KT_LONG_PROGRAM_FOLDER_BIN";

std::wstring wide(const std::string& text)
{
    std::wstring out(text.size() + 1, L'\0');
    int n = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], int(out.size()));
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}

std::string ansi(const std::wstring& text)
{
    std::string out(text.size() * 2 + 1, '\0');
    int n = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &out[0], int(out.size()), nullptr,
                                nullptr);
    out.resize(n > 0 ? n - 1 : 0);
    return out;
}

// Two folders of 65 characters each: one name of 130 would pass the 255
// bytes a Linux file name may have once Wine writes it in UTF-8. The name
// holds "ソ", whose trail byte is a backslash.
std::wstring longFolder(const std::string& bin)
{
    std::wstring part;
    const std::wstring words = L"長いソフトのフォルダ名";
    while (part.size() < 65)
        part += words;
    part.resize(65);
    return wide(bin) + part + L"\\" + part + L"\\";
}

bool copyBeside(const std::string& from, const std::wstring& toFolder, const char* name)
{
    return CopyFileW(wide(from + name).c_str(), (toFolder + wide(name)).c_str(), FALSE) != FALSE;
}

void removeLongFolder(const std::wstring& folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            DeleteFileW((folder + found.cFileName).c_str());
        while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
    RemoveDirectoryW(folder.substr(0, folder.rfind(L'\\', folder.size() - 2) + 1).c_str());
}

TEST(SusieLongProgramFolder, PluginsBesideTheProgramAreFoundAndTheCurrentFolderIsNot)
{
    ASSERT_EQ(932u, GetACP()) << "the test needs the Japanese code page";
    const std::string bin = programDirectory();
    const std::wstring folder = longFolder(bin);
    removeLongFolder(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.substr(0, folder.rfind(L'\\', folder.size() - 2)).c_str(),
                                 nullptr));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    const std::string program = ansi(folder) + "KtSusiePlugIn_test.exe";
    ASSERT_GE(ansi(folder).size(), 262u);
    ASSERT_LT(folder.size(), size_t(MAX_PATH));

    const char* files[] = {"KtSusiePlugIn_test.exe", "KtLIB.dll", "ktpnm.spi", "libstdc++-6.dll",
                           "libwinpthread-1.dll", "libgcc_s_seh-1.dll", "libgcc_s_dw2-1.dll"};
    for (const char* name : files)
        copyBeside(bin, folder, name);
    deleteSusieKey();
    SetEnvironmentVariableA(longFolderVariable, bin.c_str());
    ProcessRunner copy;
    bool ended = copy.start(program, "--gtest_filter=SusieLongProgramFolderCopy.*",
                            bin + "susie-test") &&
                 copy.wait(60000);
    SetEnvironmentVariableA(longFolderVariable, nullptr);
    EXPECT_TRUE(ended) << "start error " << copy.startError();
    EXPECT_EQ(0u, copy.exitCode()) << copy.output();
    EXPECT_NE(std::string::npos, copy.output().find("[  PASSED  ] 1 test")) << copy.output();
    copy.terminate();
    removeLongFolder(folder);
}

// Runs only in the copy started above.
TEST(SusieLongProgramFolderCopy, SearchesBesideTheProgram)
{
    char bin[MAX_PATH];
    if (!GetEnvironmentVariableA(longFolderVariable, bin, sizeof bin))
        GTEST_SKIP() << "run by PluginsBesideTheProgramAreFoundAndTheCurrentFolderIsNot";
    std::vector<char> self(1024);
    DWORD length = GetModuleFileNameA(nullptr, self.data(), DWORD(self.size()));
    std::string program(self.data(), length);
    std::string folder = program.substr(0, program.size() - strlen("KtSusiePlugIn_test.exe"));
    ASSERT_GE(folder.size(), 262u);

    SetEnvironmentVariableA(traceVariable, "\n");
    KtSusiePlugIn plugins;
    EXPECT_EQ(folder + "*.spi", plugins.programPattern.text());
    EXPECT_STREQ("", plugins.susiePattern.text());
    KtFile file;
    for (const char* name : {"plain.txt", "grey.pgm"}) {
        file.open((std::string(bin) + "susie-samples\\" + name).c_str(), OPEN_EXISTING,
                  GENERIC_READ, FILE_SHARE_READ, FILE_ATTRIBUTE_NORMAL);
        PackedDib picture;
        EXPECT_EQ(name[0] == 'g', plugins.load(file, picture)) << name;
        file.close();
    }
    EXPECT_EQ((Calls{"GetPluginInfo", "IsSupported", "GetPluginInfo", "IsSupported", "GetPicture"}),
              callsOf("ktpnm.spi"));
    for (const char* other : {"ktpnm-susie.spi", "ktexport.spi", "ktfail.spi"})
        EXPECT_EQ(Calls{}, callsOf(other)) << other << " in the current folder was loaded";
}

}  // namespace
