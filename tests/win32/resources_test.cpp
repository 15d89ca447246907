// The resources and the form of the shipped tintwalk.scr, read from the file
// itself: dialog template, description, icons, version, manifest, imports.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "dialog_template.h"

namespace {

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);
const WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

class SaverFile : public ::testing::Test {
  protected:
    void SetUp() override {
        const char* path = std::getenv("TINTWALK_SCR");
        ASSERT_NE(path, nullptr) << "TINTWALK_SCR names no file";
        path_ = path;
        module_ = LoadLibraryExA(path, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << path_;
    }
    void TearDown() override {
        if (module_ != nullptr)
            FreeLibrary(module_);
    }

    const BYTE* Resource(LPCSTR type, LPCSTR name, WORD language, DWORD* size = nullptr) {
        HRSRC found = FindResourceExA(module_, type, name, language);
        if (found == nullptr)
            return nullptr;
        if (size != nullptr)
            *size = SizeofResource(module_, found);
        return static_cast<const BYTE*>(LockResource(LoadResource(module_, found)));
    }
    // The mapped image: an image-resource handle carries flags in its lowest bits.
    const BYTE* Image() const {
        return reinterpret_cast<const BYTE*>(reinterpret_cast<uintptr_t>(module_) & ~uintptr_t{3});
    }

    std::string path_;
    HMODULE module_ = nullptr;
};

TEST_F(SaverFile, SettingsDialogIsExactlyItsTemplate) {
    tintwalk::testing::DialogTemplate expected;
    // WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT;
    // two controls at 6,18 175x37, no menu, the standard class.
    expected.Dword(0x90C800C0).Dword(0).Words({2, 6, 18, 175, 37, 0, 0});
    expected.Text("Tintwalk screensaver").Words({8}).Text("MS Shell Dlg").Align();
    // WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER, id -1, the class by name.
    expected.Dword(0x50020001).Dword(0).Words({0, 13, 128, 8, 0xFFFF}).Text("STATIC");
    expected.Text("Fully automatic").Words({0}).Align();
    // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, id 1.
    expected.Dword(0x50010000).Dword(0).Words({114, 11, 36, 13, 1}).Text("BUTTON");
    expected.Text("ok").Words({0});

    DWORD size = 0;
    const BYTE* data = Resource(RT_DIALOG, MAKEINTRESOURCEA(2003), kNeutral, &size);
    ASSERT_NE(data, nullptr);
    std::vector<WORD> actual(size / 2);
    std::memcpy(actual.data(), data, actual.size() * 2);
    actual.resize(std::min(actual.size(), expected.words().size()));
    EXPECT_EQ(actual, expected.words());
}

TEST_F(SaverFile, DescriptionIsStringOneInUsEnglish) {
    EXPECT_NE(Resource(RT_STRING, MAKEINTRESOURCEA(1), kEnglishUs), nullptr);  // block 1: 0..15
    char text[64] = {};
    ASSERT_GT(LoadStringA(module_, 1, text, sizeof(text)), 0);
    EXPECT_STREQ(text, "Tintwalk screensaver");
}

// ID_APP holds a 32 x 32 image of 16 colours and a 48 x 48 one of 256; the
// window class's icon id 100 finds nothing.
TEST_F(SaverFile, IconGroupHasA16ColourAndA256ColourImage) {
    EXPECT_EQ(FindResourceA(module_, MAKEINTRESOURCEA(100), RT_GROUP_ICON), nullptr);
    const BYTE* group = Resource(RT_GROUP_ICON, "ID_APP", kEnglishUs);
    ASSERT_NE(group, nullptr);
    WORD header[3];
    std::memcpy(header, group, sizeof(header));
    EXPECT_EQ(header[1], 1);  // icons
    ASSERT_EQ(header[2], 2);
    const int sizes[] = {32, 48}, colours[] = {16, 0}, bits[] = {4, 8};
    for (int i = 0; i < 2; ++i) {
        const BYTE* entry = group + 6 + i * 14;  // GRPICONDIRENTRY, packed
        WORD bitCount, id;
        DWORD bytes;
        std::memcpy(&bitCount, entry + 6, 2);
        std::memcpy(&bytes, entry + 8, 4);
        std::memcpy(&id, entry + 12, 2);
        EXPECT_EQ(entry[0], sizes[i]);
        EXPECT_EQ(entry[1], sizes[i]);
        EXPECT_EQ(entry[2], colours[i]);
        EXPECT_EQ(bitCount, bits[i]);
        DWORD size = 0;
        const BYTE* image = Resource(RT_ICON, MAKEINTRESOURCEA(id), kEnglishUs, &size);
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(size, bytes);
        BITMAPINFOHEADER bitmap;
        std::memcpy(&bitmap, image, sizeof(bitmap));
        EXPECT_EQ(bitmap.biWidth, sizes[i]);
        EXPECT_EQ(bitmap.biHeight, 2 * sizes[i]);  // colours and mask
        EXPECT_EQ(bitmap.biBitCount, bits[i]);
    }
}

TEST_F(SaverFile, VersionDescribesTheSaverWithTheBuildsVersion) {
    const DWORD size = GetFileVersionInfoSizeA(path_.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    std::string block(size, '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path_.c_str(), 0, size, block.data()));
    const char* const strings[][2] = {{"FileDescription", "Tintwalk screensaver"},
                                      {"FileVersion", TINTWALK_VERSION},
                                      {"ProductVersion", TINTWALK_VERSION}};
    for (const auto& [name, expected] : strings) {
        char* value = nullptr;
        UINT length = 0;
        const std::string query = std::string("\\StringFileInfo\\040904B0\\") + name;
        ASSERT_TRUE(
            VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length))
            << name;
        EXPECT_STREQ(value, expected) << name;
    }
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                  std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                  std::to_string(HIWORD(fixed->dwFileVersionLS)),
              TINTWALK_VERSION);
}

TEST_F(SaverFile, ManifestDeclaresDpiAwarenessAndTheSupportedSystems) {
    DWORD size = 0;
    const BYTE* manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1), kEnglishUs, &size);
    if (manifest == nullptr)
        manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1), kNeutral, &size);
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
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(Image());
    const auto* headers = reinterpret_cast<const IMAGE_NT_HEADERS*>(Image() + dos->e_lfanew);
    ASSERT_EQ(headers->Signature, static_cast<DWORD>(IMAGE_NT_SIGNATURE));
    EXPECT_EQ(headers->OptionalHeader.Subsystem, IMAGE_SUBSYSTEM_WINDOWS_GUI);
    const DWORD imports =
        headers->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    ASSERT_NE(imports, 0u);
    const char* const system[] = {"kernel32.dll", "user32.dll",   "gdi32.dll",
                                  "opengl32.dll", "advapi32.dll", "msvcrt.dll"};
    int count = 0;
    for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(Image() + imports);
         d->Name != 0; ++d, ++count) {
        const char* name = reinterpret_cast<const char*>(Image() + d->Name);
        bool known = false;
        for (const char* allowed : system)
            known = known || _stricmp(name, allowed) == 0;
        EXPECT_TRUE(known) << name << " is not part of every Windows";
    }
    EXPECT_GT(count, 0);
}

}  // namespace
