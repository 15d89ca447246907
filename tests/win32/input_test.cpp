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
DWORD fakeTick = 0;
int verifierCalls = 0;
HWND verifierWindow = nullptr;
BOOL verifierAnswer = FALSE;
void (*duringVerify)(HWND window) = nullptr;

DWORD WINAPI FakeTickCount() {
    return fakeTick;
}

BOOL WINAPI FakeVerifier(HWND window) {
    ++verifierCalls;
    verifierWindow = window;
    if (duringVerify != nullptr)
        duringVerify(window);
    return verifierAnswer;
}

POINT CursorNow() {
    POINT p;
    GetCursorPos(&p);
    return p;
}

class SaverInput : public ::testing::Test {
  protected:
    void SetUp() override {
        previewMode = 0;
        olderFamily = 0;
        closeAllowed = 0;
        verifying = 0;
        passwordLibrary = nullptr;
        verifyPassword = nullptr;
        lastVerifyTick = kNeverVerified;
        readTickCount = FakeTickCount;
        fakeTick = 0;
        verifierCalls = 0;
        verifierWindow = nullptr;
        verifierAnswer = FALSE;
        duringVerify = nullptr;
        cursorAnchor = CursorNow();
        if (!window_.alive())
            GTEST_SKIP() << "no window can be created (no display?)";
    }
    void TearDown() override {
        readTickCount = GetTickCount;
        previewMode = 0;
        olderFamily = 0;
        closeAllowed = 0;
        verifyPassword = nullptr;
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window_.get(), message, wParam, lParam);
    }
    bool ClosePosted() { return window_.TakePosted(WM_CLOSE); }

    TestWindow window_{SaverLikeProc};
};

TEST_F(SaverInput, KeysButtonsAndLosingActivationClose) {
    const UINT closing[] = {WM_KEYDOWN, WM_SYSKEYDOWN, WM_LBUTTONDOWN, WM_RBUTTONDOWN,
                            WM_MBUTTONDOWN};
    for (UINT message : closing) {
        Send(message);
        EXPECT_TRUE(ClosePosted()) << "message 0x" << std::hex << message;
    }
    Send(WM_ACTIVATEAPP, FALSE);
    EXPECT_TRUE(ClosePosted());
}

TEST_F(SaverInput, ReleasesWheelAndOtherButtonsDoNotClose) {
    const UINT harmless[] = {WM_KEYUP,       WM_SYSKEYUP,   WM_LBUTTONUP,   WM_RBUTTONUP,
                             WM_MBUTTONUP,   WM_MOUSEWHEEL, WM_XBUTTONDOWN, WM_XBUTTONUP,
                             WM_MOUSEHWHEEL, WM_CHAR};
    for (UINT message : harmless) {
        Send(message);
        EXPECT_FALSE(ClosePosted()) << "message 0x" << std::hex << message;
    }
    Send(WM_ACTIVATEAPP, TRUE);
    EXPECT_FALSE(ClosePosted());
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

TEST_F(SaverInput, PreviewNeverClosesOnInput) {
    previewMode = 1;
    const POINT now = CursorNow();
    cursorAnchor = {now.x - 100, now.y};
    const UINT input[] = {WM_KEYDOWN,     WM_SYSKEYDOWN,  WM_LBUTTONDOWN,
                          WM_RBUTTONDOWN, WM_MBUTTONDOWN, WM_MOUSEMOVE};
    for (UINT message : input) {
        Send(message);
        EXPECT_FALSE(ClosePosted()) << "message 0x" << std::hex << message;
    }
    Send(WM_ACTIVATEAPP, FALSE);
    EXPECT_FALSE(ClosePosted());
    EXPECT_EQ(cursorAnchor.x, now.x - 100);
}

TEST_F(SaverInput, NewerFamilyClosesAtOnceWithoutAsking) {
    verifyPassword = FakeVerifier;  // never asked on this family
    EXPECT_EQ(Send(WM_APP), 0);
    Send(WM_CLOSE);
    EXPECT_FALSE(window_.alive());
    EXPECT_EQ(verifierCalls, 0);
    EXPECT_EQ(closeAllowed, 0);
}

TEST_F(SaverInput, OlderFamilyWithoutPasswordClosesAtOnce) {
    olderFamily = 1;
    Send(WM_CLOSE);
    EXPECT_FALSE(window_.alive());
    EXPECT_EQ(closeAllowed, 1);
    EXPECT_EQ(Send(WM_APP), 0);  // the window is gone
}

TEST_F(SaverInput, RefusedPasswordKeepsRunningAndReanchors) {
    olderFamily = 1;
    verifyPassword = FakeVerifier;
    fakeTick = 5000;
    cursorAnchor = {-1000, -1000};
    SetCursor(LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)));  // IDC_ARROW

    EXPECT_EQ(Send(WM_CLOSE), 0);
    EXPECT_TRUE(window_.alive());
    EXPECT_EQ(verifierCalls, 1);
    EXPECT_EQ(verifierWindow, window_.get());
    EXPECT_EQ(closeAllowed, 0);
    EXPECT_EQ(verifying, 0);
    EXPECT_EQ(lastVerifyTick, 5000u);
    const POINT now = CursorNow();
    EXPECT_EQ(cursorAnchor.x, now.x);
    EXPECT_EQ(cursorAnchor.y, now.y);
    EXPECT_EQ(GetCursor(), nullptr);  // hidden again
}

TEST_F(SaverInput, RefusedPasswordIsNotAskedAgainWithin200Milliseconds) {
    olderFamily = 1;
    verifyPassword = FakeVerifier;
    fakeTick = 5000;
    Send(WM_CLOSE);
    ASSERT_EQ(verifierCalls, 1);

    fakeTick = 5199;
    Send(WM_CLOSE);
    EXPECT_EQ(verifierCalls, 1);
    EXPECT_TRUE(window_.alive());
    EXPECT_EQ(lastVerifyTick, 5000u);  // a request refused unasked does not count

    fakeTick = 5200;
    Send(WM_CLOSE);
    EXPECT_EQ(verifierCalls, 2);
    EXPECT_EQ(lastVerifyTick, 5200u);
}

TEST_F(SaverInput, GrantedPasswordCloses) {
    olderFamily = 1;
    verifyPassword = FakeVerifier;
    verifierAnswer = TRUE;
    Send(WM_CLOSE);
    EXPECT_EQ(verifierCalls, 1);
    EXPECT_EQ(closeAllowed, 1);
    EXPECT_FALSE(window_.alive());
}

TEST_F(SaverInput, AfterTheGrantInputIsLeftAlone) {
    closeAllowed = 1;
    Send(WM_KEYDOWN);
    Send(WM_LBUTTONDOWN);
    EXPECT_FALSE(ClosePosted());
}

void CloseAndTypeAgain(HWND window) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    SendMessageA(window, WM_KEYDOWN, 'A', 0);
}

TEST_F(SaverInput, NoSecondRequestWhileOneIsOpen) {
    olderFamily = 1;
    verifyPassword = FakeVerifier;
    duringVerify = CloseAndTypeAgain;
    Send(WM_CLOSE);
    EXPECT_EQ(verifierCalls, 1);
    EXPECT_TRUE(window_.alive());
    // The key went to the password dialog's business, not to a close.
    EXPECT_FALSE(ClosePosted());
}

TEST_F(SaverInput, PendingTicksAreDroppedBeforeAsking) {
    olderFamily = 1;
    verifyPassword = FakeVerifier;
    for (int i = 0; i < 3; ++i)
        PostMessageA(window_.get(), WM_TIMER, 333, 0);
    Send(WM_CLOSE);
    ASSERT_EQ(verifierCalls, 1);
    // Two of the three are gone.
    EXPECT_TRUE(window_.TakePosted(WM_TIMER));
    EXPECT_FALSE(window_.TakePosted(WM_TIMER));
}

TEST_F(SaverInput, PasswordWantedButNoServiceClosesAtOnce) {
    ScratchRegistry registry;
    ASSERT_TRUE(registry.ok());
    ASSERT_TRUE(ScratchRegistry::WriteDword("Control Panel\\Desktop", "ScreenSaveUsePassword", 1));
    olderFamily = 1;
    readTickCount = GetTickCount;
    LoadPasswordSupport();
    // This system has no saver password module: the feature is simply off.
    EXPECT_EQ(passwordLibrary, nullptr);
    EXPECT_EQ(verifyPassword, nullptr);
    Send(WM_CLOSE);
    EXPECT_FALSE(window_.alive());
    UnloadPasswordSupport();
}

}  // namespace
}  // namespace tintwalk
