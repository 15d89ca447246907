// The resources and the form of the shipped tintwalk.scr, read from the file
// itself: the settings dialog's template, the description string, the icon
// group, the version, the DPI-aware manifest, a GUI program that needs no
// runtime libraries beside it.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

std::string SaverPath() {
    const char* path = std::getenv("TINTWALK_SCR");
    return path != nullptr ? path : "";
}

class SaverFile : public ::testing::Test {
  protected:
    void SetUp() override {
        path_ = SaverPath();
        ASSERT_FALSE(path_.empty()) << "TINTWALK_SCR names no file";
        module_ = LoadLibraryExA(path_.c_str(), nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << path_;
    }
    void TearDown() override {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }

    // The bytes of a resource, or null.
    const BYTE* Resource(LPCSTR type, LPCSTR name, WORD language, DWORD* size = nullptr) {
        HRSRC found = FindResourceExA(module_, type, name, language);
        if (found == nullptr)
            return nullptr;
        if (size != nullptr)
            *size = SizeofResource(module_, found);
        return static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
    }

    // The image as mapped: the handle of an image-resource load carries flag
    // bits in its lowest bits.
    const BYTE* Image() const {
        return reinterpret_cast<const BYTE*>(reinterpret_cast<uintptr_t>(module_) &
                                             ~static_cast<uintptr_t>(3));
    }
    const IMAGE_NT_HEADERS* Headers() const {
        const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Image());
        return reinterpret_cast<const IMAGE_NT_HEADERS*>(Image() + dos->e_lfanew);
    }

    std::string path_;
    HMODULE module_ = nullptr;
};

// A reader of a dialog template, field by field.
class TemplateReader {
  public:
    explicit TemplateReader(const BYTE* data) : start_(data), at_(data) {}
    WORD Word() {
        WORD value;
        std::memcpy(&value, at_, 2);
        at_ += 2;
        return value;
    }
    DWORD Dword() {
        const DWORD low = Word();
        return low | static_cast<DWORD>(Word()) << 16;
    }
    short Short() { return static_cast<short>(Word()); }
    std::string Text() {
        std::string text;
        for (WORD c = Word(); c != 0; c = Word())
            text.push_back(static_cast<char>(c));
        return text;
    }
    // A class or a menu: an atom after 0xFFFF, or a name.
    std::string NameOrAtom() {
        WORD first;
        std::memcpy(&first, at_, 2);
        if (first == 0xFFFF) {
            Word();
            char atom[8];
            std::snprintf(atom, sizeof(atom), "#%u", static_cast<unsigned>(Word()));
            return atom;
        }
        return Text();
    }
    void AlignToDword() {
        while ((at_ - start_) % 4 != 0)
            ++at_;
    }

  private:
    const BYTE* start_;
    const BYTE* at_;
};

struct ControlExpectation {
    DWORD style;
    short x, y, width, height;
    WORD id;
    const char* classAtom;
    const char* className;
    const char* text;
};

TEST_F(SaverFile, SettingsDialogIsExactlyItsTemplate) {
    const BYTE* data =
        Resource(RT_DIALOG, MAKEINTRESOURCEA(2003), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    ASSERT_NE(data, nullptr);
    TemplateReader t(data);
    t.Word();
    ASSERT_NE(t.Word(), 0xFFFF) << "a classic template, not an extended one";
    TemplateReader dialog(data);
    // WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
    EXPECT_EQ(dialog.Dword(), 0x90C800C0u);
    EXPECT_EQ(dialog.Dword(), 0u);
    ASSERT_EQ(dialog.Word(), 2);
    EXPECT_EQ(dialog.Short(), 6);
    EXPECT_EQ(dialog.Short(), 18);
    EXPECT_EQ(dialog.Short(), 175);
    EXPECT_EQ(dialog.Short(), 37);
    EXPECT_EQ(dialog.NameOrAtom(), "");  // no menu
    EXPECT_EQ(dialog.NameOrAtom(), "");  // the standard dialog class
    EXPECT_EQ(dialog.Text(), "Tintwalk screensaver");
    EXPECT_EQ(dialog.Word(), 8);
    EXPECT_EQ(dialog.Text(), "MS Shell Dlg");

    const ControlExpectation controls[] = {
        // WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER
        {0x50020001u, 0, 13, 128, 8, 0xFFFF, "#130", "static", "Fully automatic"},
        // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON
        {0x50010000u, 114, 11, 36, 13, 1, "#128", "button", "ok"},
    };
    for (const ControlExpectation& expected : controls) {
        SCOPED_TRACE(expected.text);
        dialog.AlignToDword();
        EXPECT_EQ(dialog.Dword(), expected.style);
        EXPECT_EQ(dialog.Dword(), 0u);
        EXPECT_EQ(dialog.Short(), expected.x);
        EXPECT_EQ(dialog.Short(), expected.y);
        EXPECT_EQ(dialog.Short(), expected.width);
        EXPECT_EQ(dialog.Short(), expected.height);
        EXPECT_EQ(dialog.Word(), expected.id);
        const std::string className = dialog.NameOrAtom();
        EXPECT_TRUE(className == expected.classAtom ||
                    _stricmp(className.c_str(), expected.className) == 0)
            << className;
        EXPECT_EQ(dialog.NameOrAtom(), expected.text);
        EXPECT_EQ(dialog.Word(), 0);  // no creation data
    }
}

TEST_F(SaverFile, DescriptionIsStringOneInUsEnglish) {
    // String 1 lives in block 1 (strings 0 to 15).
    EXPECT_NE(Resource(RT_STRING, MAKEINTRESOURCEA(1), kEnglishUs), nullptr);
    char text[64] = {};
    ASSERT_GT(LoadStringA(module_, 1, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "Tintwalk screensaver");
}

#pragma pack(push, 2)
struct IconGroupEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

TEST_F(SaverFile, IconGroupHasA16ColourAndA256ColourImage) {
    const BYTE* group = Resource(RT_GROUP_ICON, "ID_APP", kEnglishUs);
    ASSERT_NE(group, nullptr);
    WORD header[3];
    std::memcpy(header, group, sizeof(header));
    EXPECT_EQ(header[1], 1);  // icons
    ASSERT_EQ(header[2], 2);
    const struct {
        int size;
        int colours;
        int bits;
    } expected[] = {{32, 16, 4}, {48, 0, 8}};
    for (int i = 0; i < 2; ++i) {
        IconGroupEntry entry;
        std::memcpy(&entry, group + 6 + i * sizeof(IconGroupEntry), sizeof(entry));
        EXPECT_EQ(entry.width, expected[i].size);
        EXPECT_EQ(entry.height, expected[i].size);
        EXPECT_EQ(entry.colourCount, expected[i].colours);
        EXPECT_EQ(entry.bitCount, expected[i].bits);
        DWORD size = 0;
        const BYTE* image = Resource(RT_ICON, MAKEINTRESOURCEA(entry.id), kEnglishUs, &size);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(size, entry.bytes);
        BITMAPINFOHEADER bitmap;
        std::memcpy(&bitmap, image, sizeof(bitmap));
        EXPECT_EQ(bitmap.biWidth, expected[i].size);
        EXPECT_EQ(bitmap.biHeight, 2 * expected[i].size);  // colours and mask
        EXPECT_EQ(bitmap.biBitCount, expected[i].bits);
    }
}

TEST_F(SaverFile, WindowClassIconIdFindsNothing) {
    EXPECT_EQ(FindResourceA(module_, MAKEINTRESOURCEA(100), RT_GROUP_ICON), nullptr);
}

TEST_F(SaverFile, VersionDescribesTheSaverWithTheBuildsVersion) {
    const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, block.data()));
    const struct {
        const char* name;
        const char* value;
    } strings[] = {
        {"FileDescription", "Tintwalk screensaver"},
        {"FileVersion", TINTWALK_VERSION},
        {"ProductVersion", TINTWALK_VERSION},
    };
    for (const auto& expected : strings) {
        char* value = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + expected.name;
        ASSERT_TRUE(
            VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << expected.name;
        EXPECT_STREQ(value, expected.value) << expected.name;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    const std::string numbers = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                                std::to_string(HIWORD(fixed->dwFileVersionLS));
    EXPECT_EQ(numbers, TINTWALK_VERSION);
}

TEST_F(SaverFile, ManifestDeclaresDpiAwarenessAndTheSupportedSystems) {
    DWORD size = 0;
    const BYTE* manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1),
                                    MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US), &size);
    if (manifest == nullptr)
        manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1),
                            MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &size);
    ASSERT_NE(manifest, nullptr);
    const std::string text(reinterpret_cast<const char*>(manifest), size);
    const std::string expected[] = {
        std::string("version=\"") + TINTWALK_VERSION + ".0\"",
        ">true/pm</dpiAware>",
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    for (const std::string& fragment : expected)
        EXPECT_NE(text.find(fragment), std::string::npos) << fragment;
}

TEST_F(SaverFile, GuiProgramWithoutRuntimeLibraries) {
    const IMAGE_NT_HEADERS* headers = Headers();
    ASSERT_EQ(headers->Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    EXPECT_EQ(headers->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);

    const IMAGE_DATA_DIRECTORY& imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    ASSERT_NE(imports.VirtualAddress, 0u);
    const auto* descriptor =
        reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Image() + imports.VirtualAddress);
    const char* const system[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                  "opengl32.dll", "advapi32.dll", "msvcrt.dll"};
    int count = 0;
    for (; descriptor->Name != 0; ++descriptor, ++count) {
        const char* name = reinterpret_cast<const char*>(Image() + descriptor->Name);
        bool known = false;
        for (const char* allowed : system)
            known = known || _stricmp(name, allowed) == 0;
        EXPECT_TRUE(known) << name << " is not part of every Windows";
    }
    EXPECT_GT(count, 0);
}

}  // namespace
