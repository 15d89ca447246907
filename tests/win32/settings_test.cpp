// The stored setting and the dialog procedure. The registry is a scratch
// copy of the user's; the scroll handling is driven through a dialog that,
// unlike the stored one, has a scroll bar with the speed control's id.
#include "saver/win32/settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "scratch_registry.h"

namespace tintwalk {
namespace {

using testing::ScratchRegistry;

class Settings : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(registry_.ok());
        speed = 49;
    }
    void TearDown() override { speed = 49; }

    static bool StoredSpeed(DWORD& type, DWORD& value) {
        BYTE data[16];
        DWORD size = 0;
        if (!ScratchRegistry::Read(kSettingsKey, "speed", type, data, size) || size != 4)
            return false;
        value = data[0] | data[1] << 8 | data[2] << 16 | static_cast<DWORD>(data[3]) << 24;
        return true;
    }

    ScratchRegistry registry_;
};

TEST_F(Settings, SaveCreatesTheKeyWithADword) {
    SaveSettings();
    DWORD type = 0;
    DWORD value = 0;
    ASSERT_TRUE(StoredSpeed(type, value));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 49u);
}

// The stored bytes are taken as they are, whatever their type; a missing or
// longer value leaves the setting alone, a shorter one fills the low bytes.
TEST_F(Settings, StoredValueIsTakenUnchecked) {
    struct Case {
        DWORD type;
        std::vector<BYTE> bytes;  // empty: no value stored
        int before, after;
    };
    const Case cases[] = {
        {REG_DWORD, {}, 77, 77},
        {REG_DWORD, {0xf4, 0x01, 0, 0}, 49, 500},
        {REG_DWORD, {0xf6, 0xff, 0xff, 0xff}, 49, -10},
        {REG_BINARY, {0x2c, 0x01, 0, 0}, 49, 300},
        {REG_BINARY, {0x2c, 0x01}, -1, 300},
        {REG_BINARY, {1, 0, 0, 0, 2, 0, 0, 0}, 12, 12},
    };
    for (const Case& c : cases) {
        if (!c.bytes.empty()) {
            ASSERT_TRUE(ScratchRegistry::Write(kSettingsKey, "speed", c.type, c.bytes.data(),
                                               static_cast<DWORD>(c.bytes.size())));
        }
        speed = c.before;
        LoadSettings();
        EXPECT_EQ(speed, c.after) << c.bytes.size() << " bytes";
    }
    SaveSettings();  // a stored 500 goes back as 500, unclamped
    ASSERT_TRUE(ScratchRegistry::WriteDword(kSettingsKey, "speed", 500));
    LoadSettings();
    SaveSettings();
    DWORD type = 0;
    DWORD value = 0;
    ASSERT_TRUE(StoredSpeed(type, value));
    EXPECT_EQ(value, 500u);
}

// A dialog of one horizontal scroll bar with the speed control's id.
std::vector<WORD> ScrollBarDialogTemplate() {
    std::vector<WORD> t;
    auto dword = [&](DWORD value) {
        t.push_back(LOWORD(value));
        t.push_back(HIWORD(value));
    };
    dword(WS_POPUP | WS_CAPTION);  // style
    dword(0);                      // extended style
    t.push_back(1);                // one control
    t.push_back(0);                // x, y, width, height
    t.push_back(0);
    t.push_back(100);
    t.push_back(30);
    t.push_back(0);  // no menu
    t.push_back(0);  // standard class
    t.push_back(0);  // empty title
    if (t.size() % 2 != 0)
        t.push_back(0);  // controls start on a DWORD
    dword(WS_CHILD | WS_VISIBLE | SBS_HORZ);
    dword(0);
    t.push_back(5);
    t.push_back(5);
    t.push_back(90);
    t.push_back(10);
    t.push_back(static_cast<WORD>(kSpeedScrollBarId));
    t.push_back(0xFFFF);  // class by atom: scroll bar
    t.push_back(0x0084);
    t.push_back(0);  // no text
    t.push_back(0);  // no creation data
    return t;
}

class SpeedScrollBar : public Settings {
  protected:
    void SetUp() override {
        Settings::SetUp();
        const std::vector<WORD> dialogTemplate = ScrollBarDialogTemplate();
        dialog_ = CreateDialogIndirectParamA(
            GetModuleHandleA(nullptr), reinterpret_cast<const DLGTEMPLATE*>(dialogTemplate.data()),
            nullptr, ConfigDialogProc, 0);
        if (dialog_ == nullptr)
            GTEST_SKIP() << "no dialog can be created (no display?)";
        bar_ = GetDlgItem(dialog_, kSpeedScrollBarId);
        ASSERT_NE(bar_, nullptr);
    }
    void TearDown() override {
        if (dialog_ != nullptr)
            DestroyWindow(dialog_);
        Settings::TearDown();
    }

    void Scroll(WORD request, WORD position = 0) {
        SendMessageA(dialog_, WM_HSCROLL, MAKEWPARAM(request, position),
                     reinterpret_cast<LPARAM>(bar_));
    }
    int Thumb() const { return GetScrollPos(bar_, SB_CTL); }

    HWND dialog_ = nullptr;
    HWND bar_ = nullptr;
};

TEST_F(SpeedScrollBar, OpensAtTheStoredValueOnARangeOfOneToHundred) {
    DestroyWindow(dialog_);
    ASSERT_TRUE(ScratchRegistry::WriteDword(kSettingsKey, "speed", 42));
    SetUp();
    EXPECT_EQ(speed, 42);
    EXPECT_EQ(Thumb(), 42);
    int low = 0;
    int high = 0;
    GetScrollRange(bar_, SB_CTL, &low, &high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 100);
}

// Lines step by nine, the ends and thumb positions are clamped to 1..100,
// tracking and the end of a scroll leave value and thumb alone, pages
// change nothing but still clamp a loaded value.
TEST_F(SpeedScrollBar, Requests) {
    struct Case {
        int before;
        WORD request, position;
        int after, thumb;  // thumb -1: not looked at
    };
    const Case cases[] = {
        {95, SB_LINERIGHT, 0, 100, 100},
        {5, SB_LINELEFT, 0, 1, 1},
        {50, SB_LINERIGHT, 0, 59, 59},
        {50, SB_LINELEFT, 0, 41, 41},
        {50, SB_THUMBPOSITION, 0, 1, 1},
        {50, SB_THUMBPOSITION, 70, 70, 70},
        {50, SB_THUMBPOSITION, 65535, 100, 100},
        {50, SB_LEFT, 0, 1, 1},
        {50, SB_RIGHT, 0, 100, 100},
        {60, SB_THUMBTRACK, 10, 60, 100},
        {500, SB_ENDSCROLL, 0, 500, 100},
        {50, SB_PAGERIGHT, 0, 50, 50},
        {500, SB_PAGELEFT, 0, 100, 100},
    };
    for (const Case& c : cases) {
        speed = c.before;
        Scroll(c.request, c.position);
        EXPECT_EQ(speed, c.after) << "request " << c.request << " from " << c.before;
        EXPECT_EQ(Thumb(), c.thumb) << "request " << c.request << " from " << c.before;
    }
}

TEST_F(SpeedScrollBar, ScrollingStoresNothing) {
    Scroll(SB_RIGHT);
    EXPECT_FALSE(ScratchRegistry::KeyExists(kSettingsKey));
}

}  // namespace
}  // namespace tintwalk
