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

TEST_F(Settings, MissingKeyKeepsTheValue) {
    speed = 77;
    LoadSettings();
    EXPECT_EQ(speed, 77);
}

TEST_F(Settings, SaveCreatesTheKeyWithADword) {
    SaveSettings();
    DWORD type = 0;
    DWORD value = 0;
    ASSERT_TRUE(StoredSpeed(type, value));
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(value, 49u);
}

TEST_F(Settings, StoredValueIsTakenUnchecked) {
    ASSERT_TRUE(ScratchRegistry::WriteDword(kSettingsKey, "speed", 500));
    LoadSettings();
    EXPECT_EQ(speed, 500);
    SaveSettings();
    DWORD type = 0;
    DWORD value = 0;
    ASSERT_TRUE(StoredSpeed(type, value));
    EXPECT_EQ(value, 500u);

    ASSERT_TRUE(ScratchRegistry::WriteDword(kSettingsKey, "speed", 0xFFFFFFF6u));
    LoadSettings();
    EXPECT_EQ(speed, -10);
}

TEST_F(Settings, TypeIsNotLookedAt) {
    const BYTE bytes[4] = {0x2c, 0x01, 0x00, 0x00};  // 300, little-endian
    ASSERT_TRUE(ScratchRegistry::Write(kSettingsKey, "speed", REG_BINARY, bytes, 4));
    LoadSettings();
    EXPECT_EQ(speed, 300);
}

TEST_F(Settings, ShortValueFillsTheLowBytes) {
    speed = -1;
    const BYTE bytes[2] = {0x2c, 0x01};
    ASSERT_TRUE(ScratchRegistry::Write(kSettingsKey, "speed", REG_BINARY, bytes, 2));
    LoadSettings();
    EXPECT_EQ(speed, 300);
}

TEST_F(Settings, LongValueIsNotRead) {
    speed = 12;
    const BYTE bytes[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    ASSERT_TRUE(ScratchRegistry::Write(kSettingsKey, "speed", REG_BINARY, bytes, 8));
    LoadSettings();
    EXPECT_EQ(speed, 12);
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

TEST_F(SpeedScrollBar, LineStepsAreNineAndClamped) {
    speed = 95;
    Scroll(SB_LINERIGHT);  // 104
    EXPECT_EQ(speed, 100);
    EXPECT_EQ(Thumb(), 100);
    speed = 5;
    Scroll(SB_LINELEFT);  // -4
    EXPECT_EQ(speed, 1);
    EXPECT_EQ(Thumb(), 1);
    speed = 50;
    Scroll(SB_LINERIGHT);
    EXPECT_EQ(speed, 59);
    Scroll(SB_LINELEFT);
    Scroll(SB_LINELEFT);
    EXPECT_EQ(speed, 41);
    EXPECT_EQ(Thumb(), 41);
}

TEST_F(SpeedScrollBar, ThumbPositionEndsAreClamped) {
    Scroll(SB_THUMBPOSITION, 0);
    EXPECT_EQ(speed, 1);
    Scroll(SB_THUMBPOSITION, 70);
    EXPECT_EQ(speed, 70);
    EXPECT_EQ(Thumb(), 70);
    Scroll(SB_THUMBPOSITION, 65535);
    EXPECT_EQ(speed, 100);
    Scroll(SB_LEFT);
    EXPECT_EQ(speed, 1);
    Scroll(SB_RIGHT);
    EXPECT_EQ(speed, 100);
    EXPECT_EQ(Thumb(), 100);
}

TEST_F(SpeedScrollBar, TrackingAndEndLeaveValueAndThumb) {
    speed = 60;
    Scroll(SB_THUMBPOSITION, 60);
    Scroll(SB_THUMBTRACK, 10);
    EXPECT_EQ(speed, 60);
    EXPECT_EQ(Thumb(), 60);
    speed = 500;
    Scroll(SB_ENDSCROLL);
    EXPECT_EQ(speed, 500);
    EXPECT_EQ(Thumb(), 60);
}

TEST_F(SpeedScrollBar, PagesChangeNothingButStillClamp) {
    speed = 50;
    Scroll(SB_PAGERIGHT);
    Scroll(SB_PAGELEFT);
    EXPECT_EQ(speed, 50);
    EXPECT_EQ(Thumb(), 50);
    speed = 500;  // as loaded from the registry
    Scroll(SB_PAGELEFT);
    EXPECT_EQ(speed, 100);
}

TEST_F(SpeedScrollBar, ScrollingStoresNothing) {
    Scroll(SB_RIGHT);
    EXPECT_FALSE(ScratchRegistry::KeyExists(kSettingsKey));
}

}  // namespace
}  // namespace tintwalk
