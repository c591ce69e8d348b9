// The sheet's font dialog on its own template: "&Default" resets font 3 whether the dialog ends
// by OK or Cancel; Cancel alone changes nothing; OK saves the chosen font in the star form.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "../native/settings_test_env.h"
#include "app/font_dialog_win.h"
#include "dialog_driver.h"
#include "resources/resource.h"
#include "suite/settings.h"
#include "suite/workstation_settings.h"

using namespace dialog_driver;

namespace {

// Runs the dialog and presses the buttons in turn; whether it reported a change. *found: the
// dialog came, on the template with the Default button.
bool RunWith(const std::vector<int>& buttons, bool* found) {
    *found = false;
    Driver driver([&] {
        HWND dialog = WaitForDialog("Font");
        if (!dialog) return;
        *found = GetDlgItem(dialog, IDC_FONT_DEFAULT) != nullptr;
        for (int id : buttons) {
            Press(dialog, id);
            Sleep(50);
        }
        WaitGone(dialog);
    });
    return driver.Run([] { return RunSheetFontDialog(nullptr, GetModuleHandleA(nullptr)); });
}

}  // namespace

TEST(FontDialog, DefaultResetsFontThreeEvenOnCancelCancelAloneChangesNothingAndOkSavesTheStarForm) {
    TempSettings settings;
    QVN_WriteProfileString("APPTBOOK", "Font3", "*Liberation Sans,10,700,0,-13,FALSE,FALSE");
    bool found = false;
    EXPECT_TRUE(RunWith({IDC_FONT_DEFAULT, IDCANCEL}, &found));
    ASSERT_TRUE(found) << "the dialog runs on the template with the Default button";
    EXPECT_EQ(DefaultSheetFont(), ReadFont(3));
    EXPECT_EQ("MS Sans Serif", ReadFont(3).face);

    QVN_WriteProfileString("APPTBOOK", "Font3", "Arial,10,0,700");
    EXPECT_FALSE(RunWith({IDCANCEL}, &found));
    ASSERT_TRUE(found);
    EXPECT_EQ("Arial,10,0,700", QVN_ReadProfileText("APPTBOOK", "Font3", ""));

    EXPECT_TRUE(RunWith({IDOK}, &found));
    const std::string saved = QVN_ReadProfileText("APPTBOOK", "Font3", "");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ('*', saved[0]) << saved;
}
