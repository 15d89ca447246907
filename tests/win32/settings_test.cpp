// The stored setting and the dialog procedure, on a scratch registry. The
// scroll handling is driven through a dialog that, unlike the stored one,
// has a scroll bar with the speed control's id.
#include "saver/win32/settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "dialog_template.h"
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

    ScratchRegistry registry_;
};

// The stored bytes are taken as they are, whatever their type; a missing or
// longer value leaves the setting alone, a shorter one fills the low bytes.
TEST_F(Settings, StoredValueIsTakenUnchecked) {
    const struct {
        DWORD type;
        std::vector<BYTE> bytes;  // empty: no value stored
        int before, after;
    } cases[] = {
        {REG_DWORD, {}, 77, 77},
        {REG_DWORD, {0xf4, 0x01, 0, 0}, 49, 500},
        {REG_DWORD, {0xf6, 0xff, 0xff, 0xff}, 49, -10},
        {REG_BINARY, {0x2c, 0x01, 0, 0}, 49, 300},
        {REG_BINARY, {0x2c, 0x01}, -1, 300},
        {REG_BINARY, {1, 0, 0, 0, 2, 0, 0, 0}, 12, 12},
    };
    for (const auto& c : cases) {
        if (!c.bytes.empty()) {
            ASSERT_TRUE(ScratchRegistry::Write(kSettingsKey, "speed", c.type, c.bytes.data(),
                                               static_cast<DWORD>(c.bytes.size())));
        }
        speed = c.before;
        LoadSettings();
        EXPECT_EQ(speed, c.after) << c.bytes.size() << " bytes";
    }
}

class SpeedScrollBar : public Settings {
  protected:
    void SetUp() override {
        Settings::SetUp();
        testing::DialogTemplate t;
        t.Dword(WS_POPUP | WS_CAPTION).Dword(0).Words({1, 0, 0, 100, 30, 0, 0, 0}).Align();
        t.Dword(WS_CHILD | WS_VISIBLE | SBS_HORZ).Dword(0).Words({5, 5, 90, 10});
        t.Words({static_cast<WORD>(kSpeedScrollBarId), 0xFFFF, 0x0084, 0, 0});  // a scroll bar
        dialog_ = CreateDialogIndirectParamA(GetModuleHandleA(nullptr),
                                             reinterpret_cast<const DLGTEMPLATE*>(t.words().data()),
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
// change nothing but still clamp a loaded value. Nothing is stored.
TEST_F(SpeedScrollBar, Requests) {
    const struct {
        int before;
        WORD request, position;
        int after, thumb;
    } cases[] = {
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
    for (const auto& c : cases) {
        speed = c.before;
        SendMessageA(dialog_, WM_HSCROLL, MAKEWPARAM(c.request, c.position),
                     reinterpret_cast<LPARAM>(bar_));
        EXPECT_EQ(speed, c.after) << "request " << c.request << " from " << c.before;
        EXPECT_EQ(Thumb(), c.thumb) << "request " << c.request << " from " << c.before;
    }
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

}  // namespace
}  // namespace tintwalk
