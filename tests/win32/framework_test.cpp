// The framework's own handling of the saver window, called directly: the
// title that never changes, the swallowed system commands and the help
// that a preview hands to its host.
#include "saver/win32/framework.h"

#include <gtest/gtest.h>

#include "saver/win32/input.h"
#include "test_window.h"

namespace tintwalk {
namespace {

using testing::TestWindow;

class SaverFrame : public ::testing::Test {
  protected:
    void SetUp() override {
        previewMode = closeAllowed = 0;
        if (!window_.alive())
            GTEST_SKIP() << "no window can be created (no display?)";
    }
    void TearDown() override { previewMode = closeAllowed = 0; }

    LRESULT Frame(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SaverFrameProc(window_.get(), message, wParam, lParam);
    }

    TestWindow window_{DefWindowProcA};
};

TEST_F(SaverFrame, TitleNeverChangesAndTaskSwitchingIsSwallowed) {
    EXPECT_EQ(Frame(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("Another title")), 0);
    char title[32] = {};
    GetWindowTextA(window_.get(), title, sizeof(title));
    EXPECT_STREQ(title, "test window");
    for (WPARAM command : {SC_NEXTWINDOW, SC_PREVWINDOW, SC_SCREENSAVE})
        EXPECT_EQ(Frame(WM_SYSCOMMAND, command), 0);
    EXPECT_TRUE(window_.alive());
    Frame(WM_SYSCOMMAND, SC_CLOSE);  // other commands take their course
    EXPECT_FALSE(window_.alive());
}

// WM_HELP carries a pointer, which the system may refuse to post; it is
// answered all the same, with or without a host.
TEST_F(SaverFrame, PreviewHandsHelpToTheHost) {
    previewMode = 1;
    EXPECT_EQ(Frame(WM_HELP, 0, 1), 1);
    TestWindow child(DefWindowProcA, window_.get());
    ASSERT_TRUE(child.alive());
    EXPECT_EQ(SaverFrameProc(child.get(), WM_CONTEXTMENU, 0, 5678), 1);
    MSG message;
    ASSERT_TRUE(window_.TakePosted(WM_CONTEXTMENU, WM_CONTEXTMENU, &message));
    EXPECT_EQ(message.wParam, reinterpret_cast<WPARAM>(window_.get()));
    EXPECT_EQ(message.lParam, 5678);
    EXPECT_FALSE(child.TakePosted(WM_CONTEXTMENU));
    EXPECT_EQ(SaverFrameProc(child.get(), WM_HELP, 0, 1234), 1);
}

}  // namespace
}  // namespace tintwalk
