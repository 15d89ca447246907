// The default saver handling: which input closes the full-screen saver,
// what a preview ignores, and the older family's password flow, driven
// through a fake password service and a tick count of the test's own.
#include "saver/win32/input.h"

#include <gtest/gtest.h>

#include "saver/password_retry.h"
#include "scratch_registry.h"
#include "test_window.h"

namespace tintwalk {
namespace {

using testing::ScratchRegistry;
using testing::TestWindow;

LRESULT CALLBACK SaverLikeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefaultSaverProc(window, message, wParam, lParam);
}

// The fake password service and clock.
struct {
    DWORD tick;
    int calls;
    HWND window;
    BOOL answer;
    void (*during)(HWND window);
} fake;

DWORD WINAPI FakeTickCount() {
    return fake.tick;
}

BOOL WINAPI FakeVerifier(HWND window) {
    ++fake.calls;
    fake.window = window;
    if (fake.during != nullptr)
        fake.during(window);
    return fake.answer;
}

POINT CursorNow() {
    POINT p;
    GetCursorPos(&p);
    return p;
}

class SaverInput : public ::testing::Test {
  protected:
    void SetUp() override {
        previewMode = olderFamily = closeAllowed = verifying = 0;
        passwordLibrary = nullptr;
        verifyPassword = nullptr;
        lastVerifyTick = kNeverVerified;
        readTickCount = FakeTickCount;
        fake = {};
        cursorAnchor = CursorNow();
        if (!window_.alive())
            GTEST_SKIP() << "no window can be created (no display?)";
    }
    void TearDown() override {
        readTickCount = GetTickCount;
        previewMode = olderFamily = closeAllowed = 0;
        verifyPassword = nullptr;
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

    TestWindow window_{SaverLikeProc};
};

// Presses, clicks and losing activation close the full-screen saver; nothing
// closes a preview or a saver whose close was granted.
TEST_F(SaverInput, WhichInputCloses) {
    const struct {
        UINT message;
        WPARAM wParam;
        bool closes;
    } cases[] = {
        {WM_KEYDOWN, 0, true},      {WM_SYSKEYDOWN, 0, true},      {WM_LBUTTONDOWN, 0, true},
        {WM_RBUTTONDOWN, 0, true},  {WM_MBUTTONDOWN, 0, true},     {WM_ACTIVATEAPP, FALSE, true},
        {WM_KEYUP, 0, false},       {WM_SYSKEYUP, 0, false},       {WM_LBUTTONUP, 0, false},
        {WM_RBUTTONUP, 0, false},   {WM_MBUTTONUP, 0, false},      {WM_MOUSEWHEEL, 0, false},
        {WM_XBUTTONDOWN, 0, false}, {WM_XBUTTONUP, 0, false},      {WM_MOUSEHWHEEL, 0, false},
        {WM_CHAR, 0, false},        {WM_ACTIVATEAPP, TRUE, false},
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
    previewMode = 1;
    const POINT now = CursorNow();
    cursorAnchor = {now.x - 100, now.y};
    Send(WM_MOUSEMOVE);
    EXPECT_FALSE(ClosePosted());
    EXPECT_EQ(cursorAnchor.x, now.x - 100);
}

TEST_F(SaverInput, PointerTravelOfFourIsToleratedFiveCloses) {
    const POINT now = CursorNow();
    cursorAnchor = {now.x - 2, now.y - 2};
    Send(WM_MOUSEMOVE);
    EXPECT_FALSE(ClosePosted());
    EXPECT_EQ(cursorAnchor.x, now.x - 2);  // the anchor stays: small moves add up

    cursorAnchor = {now.x - 3, now.y + 2};
    Send(WM_MOUSEMOVE);
    EXPECT_TRUE(ClosePosted());
    EXPECT_EQ(cursorAnchor.x, now.x);  // measured afresh from here
    EXPECT_EQ(cursorAnchor.y, now.y);
}

TEST_F(SaverInput, HidesThePointer) {
    EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window_.get()), HTCLIENT), TRUE);
    EXPECT_EQ(GetCursor(), nullptr);
}

// The newer family closes without asking, the older one asks the service
// if it has one, and a grant closes.
TEST_F(SaverInput, CloseAsksOnlyTheOlderFamilysService) {
    const struct {
        int older;
        VerifyPasswordProc service;
        BOOL answer;
        int calls, allowed;
    } cases[] = {
        {0, FakeVerifier, FALSE, 0, 0}, {1, nullptr, FALSE, 0, 1}, {1, FakeVerifier, TRUE, 1, 1}};
    for (const auto& c : cases) {
        TestWindow window(SaverLikeProc);
        olderFamily = c.older;
        verifyPassword = c.service;
        fake = {};
        fake.answer = c.answer;
        closeAllowed = 0;
        if (c.older == 0) {  // the password request does nothing here
            EXPECT_EQ(SendMessageA(window.get(), WM_APP, 0, 0), 0);
        }
        SendMessageA(window.get(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(window.alive()) << "case " << &c - cases;
        EXPECT_EQ(fake.calls, c.calls) << "case " << &c - cases;
        EXPECT_EQ(closeAllowed, c.allowed) << "case " << &c - cases;
    }
}

// A refusal keeps the saver, re-anchors and hides the pointer, and is not
// asked again within 200 ms of the last request that was asked.
TEST_F(SaverInput, RefusedPasswordKeepsRunningAndWaits200Milliseconds) {
    AskPasswords(5000);
    cursorAnchor = {-1000, -1000};
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW
    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_TRUE(window_.alive());
    EXPECT_EQ(fake.calls, 1);
    EXPECT_EQ(fake.window, window_.get());
    EXPECT_EQ(closeAllowed, 0);
    EXPECT_EQ(verifying, 0);
    const POINT now = CursorNow();
    EXPECT_EQ(cursorAnchor.x, now.x);
    EXPECT_EQ(cursorAnchor.y, now.y);
    EXPECT_EQ(GetCursor(), nullptr);

    fake.tick = 5199;
    Send(WM_CLOSE);
    EXPECT_EQ(fake.calls, 1);
    EXPECT_EQ(lastVerifyTick, 5000u);  // a request refused unasked does not count
    fake.tick = 5200;
    Send(WM_CLOSE);
    EXPECT_EQ(fake.calls, 2);
    EXPECT_EQ(lastVerifyTick, 5200u);
}

void CloseAndTypeAgain(HWND window) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
}

TEST_F(SaverInput, NoSecondRequestWhileOneIsOpen) {
    AskPasswords();
    fake.during = CloseAndTypeAgain;
    Send(WM_CLOSE);
    EXPECT_EQ(fake.calls, 1);
    EXPECT_TRUE(window_.alive());
    EXPECT_FALSE(ClosePosted());
}

TEST_F(SaverInput, PendingTicksAreDroppedBeforeAsking) {
    AskPasswords();
    for (int i = 0; i < 3; ++i)
        PostMessageA(window_.get(), WM_TIMER, 333, 0);
    Send(WM_CLOSE);
    ASSERT_EQ(fake.calls, 1);
    EXPECT_TRUE(window_.TakePosted(WM_TIMER));  // two of the three are gone
    EXPECT_FALSE(window_.TakePosted(WM_TIMER));
}

// Without a saver password module on this system the feature is simply off.
TEST_F(SaverInput, PasswordWantedButNoServiceClosesAtOnce) {
    ScratchRegistry registry;
    ASSERT_TRUE(registry.ok());
    ASSERT_TRUE(ScratchRegistry::WriteDword("Control Panel\\Desktop", "ScreenSaveUsePassword", 1));
    olderFamily = 1;
    readTickCount = GetTickCount;
    LoadPasswordSupport();
    EXPECT_EQ(passwordLibrary, nullptr);
    EXPECT_EQ(verifyPassword, nullptr);
    Send(WM_CLOSE);
    EXPECT_FALSE(window_.alive());
    UnloadPasswordSupport();
}

}  // namespace
}  // namespace tintwalk
