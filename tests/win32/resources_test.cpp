// tintwalk.scr's resources, read from the file: the settings dialog's template,
// description, icons, version and manifest (release_zip.sh checks imports).
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "tintwalk_version.h"

namespace {

using namespace std::string_literals;

const WORD kEnglishUs = MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US);

class SaverFile : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_NE(path_, nullptr) << "TINTWALK_SCR names no file";
        module_ = LoadLibraryExA(path_, nullptr, LOAD_LIBRARY_AS_IMAGE_RESOURCE);
        ASSERT_NE(module_, nullptr) << path_;
    }
    void TearDown() override { FreeLibrary(module_); }

    // A resource's bytes; empty when there is none in that language.
    std::string Resource(LPCSTR type, LPCSTR name, WORD language) const {
        HRSRC found = FindResourceExA(module_, type, name, language);
        if (found == nullptr)
            return {};
        return std::string(static_cast<const char*>(LockResource(LoadResource(module_, found))),
                           SizeofResource(module_, found));
    }

    const char* path_ = std::getenv("TINTWALK_SCR");
    HMODULE module_ = nullptr;
};

TEST_F(SaverFile, SettingsDialogIsExactlyItsTemplate) {
    const std::u16string expected =
        // WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT, two
        // controls, at 6,18 175x37, no menu, the standard class, caption, font of 8 points.
        u"\x00C0\x90C8\0\0\x0002\x0006\x0012\x00AF\x0025\0\0Tintwalk screensaver\0"
        u"\x0008MS Shell Dlg\0"
        // WS_CHILD | WS_VISIBLE | WS_GROUP | SS_CENTER at 0,13 128x8, id -1, class by name,
        // text, no creation data; then the padding to the next DWORD.
        u"\x0001\x5002\0\0\0\x000D\x0080\x0008\xFFFFSTATIC\0Fully automatic\0\0\0"
        // WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON at 114,11 36x13, id 1.
        u"\0\x5001\0\0\x0072\x000B\x0024\x000D\x0001"
        u"BUTTON\0ok\0\0"s;
    const std::string actual =
        Resource(RT_DIALOG, MAKEINTRESOURCEA(2003), MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL));
    std::u16string words(expected.size(), u'\0');
    ASSERT_GE(actual.size(), words.size() * 2);
    std::memcpy(words.data(), actual.data(), words.size() * 2);
    EXPECT_EQ(words, expected);
}

// ID_APP holds a 32 x 32 image of 16 colours and a 48 x 48 one of 256; the
// window class's icon id 100 finds nothing.
TEST_F(SaverFile, IconGroupHasA16ColourAndA256ColourImage) {
    EXPECT_EQ(FindResourceA(module_, MAKEINTRESOURCEA(100), RT_GROUP_ICON), nullptr);
    const std::string group = Resource(RT_GROUP_ICON, "ID_APP", kEnglishUs);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    EXPECT_EQ(group.substr(0, 6), "\0\0\1\0\2\0"s);  // icons, two of them
    const int sizes[] = {32, 48}, colours[] = {16, 0}, bits[] = {4, 8};
    for (int i = 0; i < 2; ++i) {
        const char* entry = group.data() + 6 + i * 14;  // GRPICONDIRENTRY, packed
        // Width, height, colours, reserved, one plane, bits per pixel.
        EXPECT_EQ(std::string(entry, 8),
                  std::string({char(sizes[i]), char(sizes[i]), char(colours[i]), 0, 1, 0,
                               char(bits[i]), 0}));
        DWORD bytes;
        WORD id;
        std::memcpy(&bytes, entry + 8, 4);
        std::memcpy(&id, entry + 12, 2);
        const std::string image = Resource(RT_ICON, MAKEINTRESOURCEA(id), kEnglishUs);
        ASSERT_EQ(image.size(), bytes);
        BITMAPINFOHEADER bitmap;
        std::memcpy(&bitmap, image.data(), sizeof(bitmap));
        EXPECT_EQ(bitmap.biWidth, sizes[i]);
        EXPECT_EQ(bitmap.biHeight, 2 * sizes[i]);  // colours and mask
        EXPECT_EQ(bitmap.biBitCount, bits[i]);
    }
}

TEST_F(SaverFile, DescriptionAndVersionNameTheSaverAndTheBuildsVersion) {
    EXPECT_NE(Resource(RT_STRING, MAKEINTRESOURCEA(1), kEnglishUs), "");  // strings 0 to 15
    char text[64] = {};
    LoadStringA(module_, 1, text, sizeof(text));
    EXPECT_STREQ(text, "Tintwalk screensaver");
    std::string block(GetFileVersionInfoSizeA(path_, nullptr), '\0');
    ASSERT_TRUE(GetFileVersionInfoA(path_, 0, block.size(), block.data()));
    const char* const strings[][2] = {{"FileDescription", "Tintwalk screensaver"},
                                      {"FileVersion", TINTWALK_VERSION},
                                      {"ProductVersion", TINTWALK_VERSION}};
    for (const auto& [name, expected] : strings) {
        char* value = nullptr;
        UINT length = 0;
        const std::string query = "\\StringFileInfo\\040904B0\\"s + name;
        VerQueryValueA(block.data(), query.c_str(), reinterpret_cast<void**>(&value), &length);
        EXPECT_STREQ(value, expected) << name;
    }
}

TEST_F(SaverFile, ManifestDeclaresDpiAwarenessAndTheSupportedSystems) {
    const std::string manifest = Resource(RT_MANIFEST, MAKEINTRESOURCEA(1), kEnglishUs);
    const std::string expected[] = {
        "version=\""s + TINTWALK_VERSION + ".0\"",  ">true/pm</dpiAware>",
        ">PerMonitorV2, PerMonitor</dpiAwareness>",
        "{e2011457-1546-43c5-a5fe-008deee3d3f0}",  // Vista
        "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
        "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
        "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
        "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
    };
    for (const std::string& fragment : expected)
        EXPECT_NE(manifest.find(fragment), std::string::npos) << fragment;
}

}  // namespace
