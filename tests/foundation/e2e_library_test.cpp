// The end-to-end library against a window of another process (testwin.exe):
// what every end-to-end test relies on, checked where a fault would show.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "e2e.h"
#include "test_window.h"

namespace {

const DWORD kSettleMs = 10000;

class E2eLibraryTest : public testing::Test {
protected:
    void SetUp() override {
        program_ = e2e::Program::Start(e2e::WindowsPath(TESTWIN_EXE), "");
        ASSERT_TRUE(program_.Started()) << GetLastError();
        window_ = e2e::WaitForTopLevelWindow(program_.Pid(), testwin::kClassName, testwin::kCaption,
                                             kSettleMs);
        ASSERT_NE(window_, nullptr);
    }

    void TearDown() override {
        if (window_ != nullptr) {
            PostMessageA(window_, WM_CLOSE, 0, 0);
            DWORD exitCode = 1;
            EXPECT_TRUE(program_.WaitForExit(kSettleMs, &exitCode));
            EXPECT_EQ(exitCode, 0u);
        }
    }

    HWND Control(int id) const {
        HWND control = e2e::FindControl(window_, id);
        EXPECT_NE(control, nullptr) << "control " << id;
        return control;
    }

    // Waits until a status bar part reads `expected`; returns what it read last.
    std::string WaitForStatus(int part, const std::string& expected) const {
        HWND statusBar = Control(testwin::kStatusBar);
        std::string text;
        DWORD start = GetTickCount();
        do {
            text = e2e::GetStatusBarText(statusBar, part);
            if (text == expected) {
                break;
            }
            e2e::Sleep(20);
        } while (GetTickCount() - start < kSettleMs);
        return text;
    }

    e2e::Program program_;
    HWND window_ = nullptr;
};

TEST_F(E2eLibraryTest, ReadsControlsOfAnotherProcess) {
    EXPECT_EQ(e2e::FindControl(window_, 9999), nullptr);
    HWND statusBar = Control(testwin::kStatusBar);
    EXPECT_EQ(e2e::GetStatusBarText(statusBar, 0), testwin::kStatusPart0);
    EXPECT_EQ(e2e::GetStatusBarText(statusBar, 1), testwin::kStatusPart1);
    EXPECT_EQ(e2e::GetStatusBarText(statusBar, 2), "");
    EXPECT_EQ(e2e::GetText(statusBar), testwin::kStatusPart0);
    EXPECT_EQ(e2e::GetText(window_), testwin::kCaption);
    EXPECT_EQ(e2e::GetText(Control(testwin::kAskButton)), "Ask");
    HWND edit = Control(testwin::kEdit);
    EXPECT_EQ(e2e::GetText(edit), "");
    EXPECT_TRUE(e2e::SetText(edit, "\\\\typed name"));
    EXPECT_EQ(e2e::GetText(edit), "\\\\typed name");

    HWND combo = Control(testwin::kCombo);
    EXPECT_EQ(e2e::GetComboItems(combo), std::vector<std::string>(std::begin(testwin::kComboItems),
                                                                  std::end(testwin::kComboItems)));
    EXPECT_EQ(e2e::GetComboSelection(combo), CB_ERR);

    EXPECT_TRUE(e2e::IsEnabled(Control(testwin::kAskButton)));
    EXPECT_FALSE(e2e::IsEnabled(Control(testwin::kDisabledButton)));
    EXPECT_FALSE(e2e::IsChecked(Control(testwin::kCheckBox)));
}

TEST_F(E2eLibraryTest, SelectingAComboItemTellsItsParent) {
    HWND combo = Control(testwin::kCombo);
    for (int index : {1, 2, 0}) {
        SCOPED_TRACE(index);
        ASSERT_TRUE(e2e::SelectComboItem(combo, index));
        EXPECT_EQ(e2e::GetComboSelection(combo), index);
        // The parent's handler has run by the time the call returns.
        EXPECT_EQ(e2e::GetStatusBarText(Control(testwin::kStatusBar), 0),
                  std::string(testwin::kSelectedPrefix) + testwin::kComboItems[index]);
    }
    // No such item: nothing is reported to the parent.
    EXPECT_FALSE(e2e::SelectComboItem(combo, 3));
    EXPECT_EQ(e2e::GetStatusBarText(Control(testwin::kStatusBar), 0),
              std::string(testwin::kSelectedPrefix) + testwin::kComboItems[0]);
}

TEST_F(E2eLibraryTest, ClicksToggleACheckBox) {
    HWND checkBox = Control(testwin::kCheckBox);
    e2e::Click(checkBox);
    DWORD start = GetTickCount();
    while (!e2e::IsChecked(checkBox) && GetTickCount() - start < kSettleMs) {
        e2e::Sleep(20);
    }
    EXPECT_TRUE(e2e::IsChecked(checkBox));
    ASSERT_TRUE(e2e::ClickAndWait(checkBox, kSettleMs));
    EXPECT_FALSE(e2e::IsChecked(checkBox));
}

TEST_F(E2eLibraryTest, ClickAndWaitReturnsWhenTheHandlerDid) {
    HWND slow = Control(testwin::kSlowButton);
    EXPECT_FALSE(e2e::ClickAndWait(slow, 200)) << "the handler takes longer";
    // Finding windows does not wait for a program busy in a handler.
    DWORD searchStart = GetTickCount();
    EXPECT_EQ(e2e::WaitForTopLevelWindow(program_.Pid(), testwin::kClassName, testwin::kCaption, 0),
              window_);
    EXPECT_LT(GetTickCount() - searchStart, 500u);
    EXPECT_EQ(WaitForStatus(1, testwin::kSlowDone), testwin::kSlowDone);

    DWORD start = GetTickCount();
    ASSERT_TRUE(e2e::ClickAndWait(slow, kSettleMs));
    EXPECT_GE(GetTickCount() - start, testwin::kSlowMs - 100);
}

// Click must not wait for a handler that shows a box: the box is answered
// while the handler still runs.
TEST_F(E2eLibraryTest, AnswersAMessageBox) {
    struct Case {
        int button;
        const char* status;
    };
    const Case cases[] = {{IDYES, testwin::kAnsweredYes}, {IDNO, testwin::kAnsweredNo}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.status);
        e2e::MessageBoxInfo box;
        EXPECT_FALSE(e2e::WaitForMessageBox(program_.Pid(), 0, &box));
        e2e::Click(Control(testwin::kAskButton));
        ASSERT_TRUE(e2e::WaitForMessageBox(program_.Pid(), kSettleMs, &box));
        EXPECT_EQ(box.caption, testwin::kQuestionCaption);
        EXPECT_EQ(box.text, testwin::kQuestionText);
        ASSERT_TRUE(e2e::AnswerMessageBox(box, c.button));
        EXPECT_EQ(WaitForStatus(1, c.status), c.status);
    }
}

TEST_F(E2eLibraryTest, ScreenshotShowsTheWindow) {
    char folder[MAX_PATH] = {};
    ASSERT_GT(GetTempPathA(sizeof folder, folder), 0u);
    std::string path = std::string(folder) + "fx_e2e_screenshot.bmp";
    ASSERT_TRUE(e2e::SaveScreenshot(window_, path));

    std::ifstream file(path, std::ios::binary);
    std::vector<char> bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    file.close();
    DeleteFileA(path.c_str());
    BITMAPFILEHEADER fileHeader;
    BITMAPINFOHEADER header;
    ASSERT_GE(bytes.size(), sizeof fileHeader + sizeof header);
    std::memcpy(&fileHeader, bytes.data(), sizeof fileHeader);
    std::memcpy(&header, bytes.data() + sizeof fileHeader, sizeof header);
    EXPECT_EQ(fileHeader.bfType, 0x4D42);
    EXPECT_EQ(fileHeader.bfSize, bytes.size());
    EXPECT_EQ(header.biBitCount, 24);

    RECT frame = {};
    ASSERT_TRUE(GetWindowRect(window_, &frame));
    ASSERT_EQ(header.biWidth, frame.right - frame.left);
    ASSERT_EQ(header.biHeight, frame.bottom - frame.top);
    size_t stride = (static_cast<size_t>(header.biWidth) * 3 + 3) & ~size_t{3};
    ASSERT_EQ(bytes.size(), fileHeader.bfOffBits + stride * static_cast<size_t>(header.biHeight));

    // A bare spot of the client area carries the window's background colour.
    POINT spot = {testwin::kBareClientX, testwin::kBareClientY};
    ASSERT_TRUE(ClientToScreen(window_, &spot));
    size_t x = static_cast<size_t>(spot.x - frame.left);
    size_t row = static_cast<size_t>(header.biHeight - 1 - (spot.y - frame.top)); // bottom-up
    const auto* pixel = reinterpret_cast<const unsigned char*>(bytes.data() + fileHeader.bfOffBits +
                                                               row * stride + x * 3);
    EXPECT_EQ(RGB(pixel[2], pixel[1], pixel[0]), testwin::kBackground);
}

} // namespace
