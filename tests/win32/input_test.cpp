// The saver window's handling: which input closes it (win32_saver.sh covers
// pointer travel), the older family's password flow through a fake service
// and clock, the frame's fixed title, task switching and a preview's help.
#include "saver/win32/input.h"

#include <gtest/gtest.h>

#include "saver/password_retry.h"
#include "saver/win32/framework.h"
#include "win32_test.h"

namespace tintwalk {
namespace {

struct {
    DWORD tick;
    int calls;
    BOOL answer;
    void (*during)(HWND window);
} fake;

DWORD WINAPI FakeTickCount() {
    return fake.tick;
}

BOOL WINAPI FakeVerifier(HWND window) {
    ++fake.calls;
    if (fake.during != nullptr)
        fake.during(window);
    return fake.answer;
}

class SaverWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        previewMode = olderFamily = closeAllowed = verifying = 0;
        verifyPassword = nullptr;
        lastVerifyTick = kNeverVerified;
        readTickCount = FakeTickCount;
        fake = {};
        GetCursorPos(&cursorAnchor);
        ASSERT_TRUE(window_.alive());
    }
    // The older family with the fake password service.
    void AskPasswords(DWORD tick = 0) {
        olderFamily = 1;
        verifyPassword = FakeVerifier;
        fake.tick = tick;
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window_.get(), message, wParam, lParam);
    }
    bool ClosePosted() { return window_.TakePosted(WM_CLOSE); }

    testing::TestWindow window_{DefaultSaverProc};
};

// Presses, clicks and losing activation close the full-screen saver; nothing
// closes a preview or a saver whose close was granted.
TEST_F(SaverWindow, WhichInputCloses) {
    const struct {
        UINT message;
        WPARAM wParam;
        bool closes;
    } cases[] = {
        {WM_KEYDOWN, 0, true},      {WM_SYSKEYDOWN, 0, true},  {WM_LBUTTONDOWN, 0, true},
        {WM_RBUTTONDOWN, 0, true},  {WM_MBUTTONDOWN, 0, true}, {WM_ACTIVATEAPP, FALSE, true},
        {WM_KEYUP, 0, false},       {WM_LBUTTONUP, 0, false},  {WM_MOUSEWHEEL, 0, false},
        {WM_XBUTTONDOWN, 0, false}, {WM_CHAR, 0, false},       {WM_ACTIVATEAPP, TRUE, false},
    };
    for (const int mode : {0, 1, 2}) {
        previewMode = mode == 1;
        closeAllowed = mode == 2;
        for (const auto& c : cases) {
            Send(c.message, c.wParam);
            EXPECT_EQ(ClosePosted(), c.closes && mode == 0)
                << "mode " << mode << ", message 0x" << std::hex << c.message;
        }
    }
}

TEST_F(SaverWindow, TheNewerFamilyClosesWithoutAsking) {
    verifyPassword = FakeVerifier;
    Send(WM_CLOSE);
    EXPECT_FALSE(window_.alive());
    EXPECT_EQ(fake.calls + closeAllowed, 0);
}

// The older family asks: a refusal keeps the saver and re-anchors the
// pointer, nothing is asked within 200 ms of the last request that was asked,
// and a grant closes.
TEST_F(SaverWindow, RefusedPasswordKeepsRunningAndWaits200Milliseconds) {
    AskPasswords(5000);
    cursorAnchor = {-1000, -1000};
    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_TRUE(window_.alive());
    EXPECT_EQ(fake.calls, 1);
    EXPECT_EQ(closeAllowed + verifying, 0);
    POINT now;
    GetCursorPos(&now);
    EXPECT_EQ(cursorAnchor.x, now.x);

    fake.tick = 5199;
    Send(WM_CLOSE);
    EXPECT_EQ(fake.calls, 1);
    fake.tick = 5200;
    fake.answer = TRUE;
    Send(WM_CLOSE);
    EXPECT_EQ(fake.calls, 2);
    EXPECT_EQ(closeAllowed, 1);
    EXPECT_FALSE(window_.alive());
}

void CloseAndTypeAgain(HWND window) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
}

// Pending ticks are dropped before asking, and nothing asks again while a
// request is open.
TEST_F(SaverWindow, NoSecondRequestWhileOneIsOpen) {
    AskPasswords();
    fake.during = CloseAndTypeAgain;
    for (int i = 0; i < 3; ++i)
        PostMessageA(window_.get(), WM_TIMER, 333, 0);
    Send(WM_CLOSE);
    EXPECT_EQ(fake.calls, 1);
    EXPECT_TRUE(window_.alive());
    EXPECT_FALSE(ClosePosted());
    EXPECT_TRUE(window_.TakePosted(WM_TIMER));  // two of the three are gone
    EXPECT_FALSE(window_.TakePosted(WM_TIMER));
}

// Without a saver password module on this system the feature is simply off.
TEST_F(SaverWindow, PasswordWantedButNoServiceClosesAtOnce) {
    testing::ScratchRegistry registry;
    ASSERT_TRUE(registry.ok() &&
                registry.SetDword("Control Panel\\Desktop", "ScreenSaveUsePassword", 1));
    olderFamily = 1;
    LoadPasswordSupport();
    EXPECT_EQ(verifyPassword, nullptr);
    Send(WM_CLOSE);
    EXPECT_FALSE(window_.alive());
    UnloadPasswordSupport();
}

TEST_F(SaverWindow, TitleNeverChangesAndTaskSwitchingIsSwallowed) {
    EXPECT_EQ(SaverFrameProc(window_.get(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Another")), 0);
    char title[32] = {};
    GetWindowTextA(window_.get(), title, sizeof(title));
    EXPECT_STREQ(title, "test window");
    for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE})
        EXPECT_EQ(SaverFrameProc(window_.get(), WM_SYSCOMMAND, command, 0), 0);
    EXPECT_TRUE(window_.alive());
    SaverFrameProc(window_.get(), WM_SYSCOMMAND, SC_CLOSE, 0);  // other commands take their course
    EXPECT_FALSE(window_.alive());
}

// WM_HELP carries a pointer, which the system may refuse to post; it is
// answered all the same, with or without a host.
TEST_F(SaverWindow, PreviewHandsHelpToTheHost) {
    previewMode = 1;
    EXPECT_EQ(SaverFrameProc(window_.get(), WM_HELP, 0, 1), 1);
    testing::TestWindow child(DefWindowProcA, window_.get());
    EXPECT_EQ(SaverFrameProc(child.get(), WM_CONTEXTMENU, 0, 5678), 1);
    MSG message;
    ASSERT_TRUE(window_.TakePosted(WM_CONTEXTMENU, &message));
    EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(window_.get()));
    EXPECT_EQ(message.lParam, 5678);
    EXPECT_EQ(SaverFrameProc(child.get(), WM_HELP, 0, 1234), 1);
}

}  // namespace
}  // namespace tintwalk
