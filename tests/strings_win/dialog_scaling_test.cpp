// ScaleDialog on real dialogs made from templates: one sixth wider, controls
// widened in place, one font made from the settings and then kept.
#include "ui/dialog_scaling.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "common/safe_text.h"
#include "core/run_state.h"
#include "scaling_dialogs.h"

namespace {

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

RECT RectInParent(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    HWND parent = GetParent(window);
    if (parent != nullptr) {
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    return rect;
}

RECT WidenedBySixth(RECT rect) {
    const LONG left = rect.left + rect.left / 6;
    const LONG right = rect.right + rect.right / 6;
    return {left, rect.top, right, rect.bottom};
}

void ExpectRect(const RECT& expected, const RECT& actual, const char* what) {
    EXPECT_EQ(expected.left, actual.left) << what;
    EXPECT_EQ(expected.top, actual.top) << what;
    EXPECT_EQ(expected.right, actual.right) << what;
    EXPECT_EQ(expected.bottom, actual.bottom) << what;
}

LOGFONTA Describe(HFONT font) {
    LOGFONTA description = {};
    EXPECT_EQ(static_cast<int>(sizeof description),
              GetObjectA(font, sizeof description, &description));
    return description;
}

HFONT FontOf(HWND window) {
    return reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
}

// The fonts are made once per process; every test starts before that, with
// the settings' defaults, and destroys the dialogs it made.
class DialogScalingTest : public testing::Test {
protected:
    void SetUp() override { ResetFontsAndSettings(); }

    static void ResetFontsAndSettings() {
        DeleteObject(dialogFont);
        DeleteObject(boldDialogFont);
        dialogFont = nullptr;
        boldDialogFont = nullptr;
        textFontName[0] = '\0';
        textFontCharset = 0;
        textFontSize = 8;
    }

    void TearDown() override {
        for (HWND dialog : dialogs_) {
            DestroyWindow(dialog);
        }
    }

    HWND MakeDialog(int templateId) {
        HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId),
                                         nullptr, PlainDialogProc, 0);
        EXPECT_NE(nullptr, dialog);
        dialogs_.push_back(dialog);
        return dialog;
    }

    static int PixelsPerInchY(HWND dialog) {
        HDC screen = GetDC(dialog);
        const int pixelsPerInch = GetDeviceCaps(screen, LOGPIXELSY);
        ReleaseDC(dialog, screen);
        return pixelsPerInch;
    }

private:
    std::vector<HWND> dialogs_;
};

TEST_F(DialogScalingTest, WidensDialogAndControlsBySixthKeepingHeights) {
    HWND dialog = MakeDialog(IDD_WITH_FONT);
    RECT before;
    GetWindowRect(dialog, &before);
    MoveWindow(dialog, 600, 100, 300, before.bottom - before.top, FALSE);
    const int controlIds[] = {IDC_TITLE, IDC_PATH, IDC_CHOICE, IDC_NEXT};
    std::vector<RECT> controlsBefore;
    for (int id : controlIds) {
        controlsBefore.push_back(RectInParent(GetDlgItem(dialog, id)));
    }

    ScaleDialog(dialog);

    RECT after;
    GetWindowRect(dialog, &after);
    EXPECT_EQ(700, after.left);
    EXPECT_EQ(350, after.right - after.left);
    EXPECT_EQ(100, after.top);
    EXPECT_EQ(before.bottom - before.top, after.bottom - after.top);
    ASSERT_NE(nullptr, dialogFont);
    for (std::size_t i = 0; i < controlsBefore.size(); ++i) {
        HWND control = GetDlgItem(dialog, controlIds[i]);
        const std::string what = "control " + std::to_string(controlIds[i]);
        ExpectRect(WidenedBySixth(controlsBefore[i]), RectInParent(control), what.c_str());
        EXPECT_EQ(dialogFont, FontOf(control)) << what;
    }
    // The combo box places its own edit field; widening that again would
    // push it over the drop-down button.
    HWND combo = GetDlgItem(dialog, IDC_CHOICE);
    HWND comboEdit = GetWindow(combo, GW_CHILD);
    ASSERT_NE(nullptr, comboEdit);
    RECT comboClient;
    GetClientRect(combo, &comboClient);
    EXPECT_LT(RectInParent(comboEdit).right, comboClient.right);
}

TEST_F(DialogScalingTest, FontComesFromSettingsAndTemplate) {
    struct FontCase {
        const char* name;
        const char* faceSetting;
        std::uint8_t charset;
        std::uint8_t points;
        const char* expectedFace;
    };
    const std::string longFace(255, 'F');
    const std::string longFaceCut = longFace.substr(0, LF_FACESIZE - 1);
    const FontCase cases[] = {
        {"template face kept", "", 0, 8, "MS Sans Serif"},
        {"face, charset and size from the settings", "Arial", 238, 12, "Arial"},
        {"over-long face name cut to fit", longFace.c_str(), 0, 10, longFaceCut.c_str()},
    };
    for (const FontCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetFontsAndSettings();
        SafeCopy(textFontName, c.faceSetting);
        textFontCharset = c.charset;
        textFontSize = c.points;
        HWND dialog = MakeDialog(IDD_WITH_FONT);

        ScaleDialog(dialog);

        ASSERT_NE(nullptr, dialogFont);
        ASSERT_NE(nullptr, boldDialogFont);
        const LOGFONTA normal = Describe(dialogFont);
        EXPECT_EQ(300, normal.lfWeight);
        EXPECT_EQ(c.charset, normal.lfCharSet);
        EXPECT_EQ(-MulDiv(c.points, PixelsPerInchY(dialog), 72), normal.lfHeight);
        EXPECT_STREQ(c.expectedFace, normal.lfFaceName);
        LOGFONTA bold = Describe(boldDialogFont);
        EXPECT_EQ(700, bold.lfWeight);
        bold.lfWeight = normal.lfWeight;
        EXPECT_EQ(0, std::memcmp(&normal, &bold, sizeof normal)) << "bold differs beyond weight";
    }
}

TEST_F(DialogScalingTest, FontsAreMadeOnceAndReused) {
    ScaleDialog(MakeDialog(IDD_WITH_FONT));
    HFONT firstFont = dialogFont;
    HFONT firstBold = boldDialogFont;
    ASSERT_NE(nullptr, firstFont);

    // Later dialogs share the first font even when the settings differ.
    SafeCopy(textFontName, "Courier New");
    textFontSize = 20;
    HWND second = MakeDialog(IDD_WITH_FONT);
    ScaleDialog(second);

    EXPECT_EQ(firstFont, dialogFont);
    EXPECT_EQ(firstBold, boldDialogFont);
    EXPECT_EQ(firstFont, FontOf(GetDlgItem(second, IDC_NEXT)));
    EXPECT_EQ(-MulDiv(8, PixelsPerInchY(second), 72), Describe(dialogFont).lfHeight);
}

TEST_F(DialogScalingTest, DialogWithoutFontIsWidenedButItsControlsAreLeftAlone) {
    HWND dialog = MakeDialog(IDD_WITHOUT_FONT);
    ASSERT_EQ(nullptr, FontOf(dialog));
    RECT before;
    GetWindowRect(dialog, &before);
    HWND button = GetDlgItem(dialog, IDC_NEXT);
    const RECT buttonBefore = RectInParent(button);
    HFONT buttonFontBefore = FontOf(button);

    ScaleDialog(dialog);

    RECT after;
    GetWindowRect(dialog, &after);
    ExpectRect(WidenedBySixth(before), after, "dialog");
    ExpectRect(buttonBefore, RectInParent(button), "button");
    EXPECT_EQ(buttonFontBefore, FontOf(button));
    EXPECT_EQ(nullptr, dialogFont);

    // A later dialog with a font still makes the fonts.
    ScaleDialog(MakeDialog(IDD_WITH_FONT));
    EXPECT_NE(nullptr, dialogFont);
}

} // namespace
