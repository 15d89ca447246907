// The stored setting, and the dialog procedure's speed scroll bar in a window
// of our own (the shipped dialog has no scroll bar), on a scratch registry.
#include "saver/win32/settings.h"

#include <gtest/gtest.h>

#include <vector>

#include "win32_test.h"

namespace tintwalk {
namespace {

using testing::ScratchRegistry;

// The stored bytes are taken as they are, whatever their type; a missing or
// longer value leaves the setting alone, a shorter one fills the low bytes.
TEST(Settings, StoredValueIsTakenUnchecked) {
    ScratchRegistry registry;
    ASSERT_TRUE(registry.ok());
    const struct {
        DWORD type;
        std::vector<BYTE> bytes;  // empty: no value stored
        int before, after;
    } cases[] = {
        {REG_DWORD, {}, 77, 77},
        {REG_DWORD, {0xf6, 0xff, 0xff, 0xff}, 49, -10},
        {REG_BINARY, {0x2c, 0x01, 0, 0}, 49, 300},
        {REG_BINARY, {0x2c, 0x01}, -1, 300},
        {REG_BINARY, {1, 0, 0, 0, 2, 0, 0, 0}, 12, 12},
    };
    for (const auto& c : cases) {
        if (!c.bytes.empty()) {
            ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, kSettingsKey, "speed", c.type,
                                      c.bytes.data(), static_cast<DWORD>(c.bytes.size())),
                      ERROR_SUCCESS);
        }
        speed = c.before;
        LoadSettings();
        EXPECT_EQ(speed, c.after) << c.bytes.size() << " bytes";
    }
}

// The bar opens at the stored value on a range of 1 to 100. Lines step by
// nine, the ends and thumb positions are clamped to 1..100, tracking and the
// end of a scroll leave value and thumb alone, pages change nothing but still
// clamp a loaded value. Nothing is stored.
TEST(Settings, SpeedScrollBar) {
    ScratchRegistry registry;
    ASSERT_TRUE(registry.ok() && registry.SetDword(kSettingsKey, "speed", 42));
    testing::TestWindow dialog(DefWindowProcA);
    HWND bar = CreateWindowA("SCROLLBAR", nullptr, WS_CHILD | SBS_HORZ, 0, 0, 40, 10, dialog.get(),
                             reinterpret_cast<HMENU>(kSpeedScrollBarId), nullptr, nullptr);
    ASSERT_NE(bar, nullptr);
    ConfigDialogProc(dialog.get(), WM_INITDIALOG, 0, 0);
    int low = 0, high = 0;
    GetScrollRange(bar, SB_CTL, &low, &high);
    EXPECT_EQ(low, 1);
    EXPECT_EQ(high, 100);
    EXPECT_EQ(speed, 42);
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), 42);
    RegDeleteTreeA(HKEY_CURRENT_USER, kSettingsKey);

    const struct {
        int before;
        WORD request, position;
        int after, thumb;
    } cases[] = {
        {95, SB_LINERIGHT, 0, 100, 100},
        {5, SB_LINELEFT, 0, 1, 1},
        {50, SB_LINERIGHT, 0, 59, 59},
        {50, SB_THUMBPOSITION, 0, 1, 1},
        {50, SB_THUMBPOSITION, 70, 70, 70},
        {50, SB_THUMBPOSITION, 65535, 100, 100},
        {50, SB_LEFT, 0, 1, 1},
        {60, SB_THUMBTRACK, 10, 60, 1},
        {500, SB_ENDSCROLL, 0, 500, 1},
        {50, SB_PAGERIGHT, 0, 50, 50},
        {500, SB_PAGELEFT, 0, 100, 100},
    };
    for (const auto& c : cases) {
        speed = c.before;
        ConfigDialogProc(dialog.get(), WM_HSCROLL, MAKEWPARAM(c.request, c.position),
                         reinterpret_cast<LPARAM>(bar));
        EXPECT_EQ(speed, c.after) << "request " << c.request << " from " << c.before;
        EXPECT_EQ(GetScrollPos(bar, SB_CTL), c.thumb) << "request " << c.request;
    }
    HKEY key;
    EXPECT_NE(RegOpenKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_READ, &key), ERROR_SUCCESS);
}

}  // namespace
}  // namespace tintwalk
