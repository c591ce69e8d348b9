// The sheet's font dialog on its own template: "&Default" resets font 3 whether the dialog ends
// by OK or Cancel; Cancel alone changes nothing; OK saves the chosen font in the star form.
#include <gtest/gtest.h>
#include <windows.h>

#include "../native/settings_test_env.h"
#include "app/font_dialog_win.h"
#include "resources/resource.h"
#include "suite/settings.h"
#include "suite/workstation_settings.h"

namespace {

// Presses the given buttons of the "Font" dialog in turn from another thread.
struct DialogPresser {
    int first;
    int second;  // 0: none
    bool found = false;

    static DWORD WINAPI Run(void* self) {
        auto* p = static_cast<DialogPresser*>(self);
        for (int i = 0; i < 200; ++i) {
            HWND dialog = FindWindowA("#32770", "Font");
            if (dialog && IsWindowVisible(dialog)) {
                p->found = GetDlgItem(dialog, IDC_FONT_DEFAULT) != nullptr;
                for (int id : {p->first, p->second}) {
                    if (id == 0) continue;
                    SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
                    Sleep(50);
                }
                return 0;
            }
            Sleep(50);
        }
        return 0;
    }
};

bool RunWith(int first, int second, bool* found) {
    DialogPresser presser{first, second};
    HANDLE thread = CreateThread(nullptr, 0, DialogPresser::Run, &presser, 0, nullptr);
    bool changed = RunSheetFontDialog(nullptr, GetModuleHandleA(nullptr));
    WaitForSingleObject(thread, 15000);
    CloseHandle(thread);
    *found = presser.found;
    return changed;
}

}  // namespace

TEST(FontDialog, DefaultResetsFontThreeEvenOnCancel) {
    TempSettings settings;
    QVN_WriteProfileString("APPTBOOK", "Font3", "*Liberation Sans,10,700,0,-13,FALSE,FALSE");
    bool found = false;
    EXPECT_TRUE(RunWith(IDC_FONT_DEFAULT, IDCANCEL, &found));
    EXPECT_TRUE(found) << "the dialog runs on the template with the Default button";
    EXPECT_EQ(DefaultSheetFont(), ReadFont(3));
    EXPECT_EQ("MS Sans Serif", ReadFont(3).face);
}

TEST(FontDialog, CancelAloneChangesNothingAndOkSavesTheStarForm) {
    TempSettings settings;
    QVN_WriteProfileString("APPTBOOK", "Font3", "Arial,10,0,700");
    bool found = false;
    EXPECT_FALSE(RunWith(IDCANCEL, 0, &found));
    ASSERT_TRUE(found);
    EXPECT_EQ("Arial,10,0,700", QVN_ReadProfileText("APPTBOOK", "Font3", ""));

    EXPECT_TRUE(RunWith(IDOK, 0, &found));
    std::string saved = QVN_ReadProfileText("APPTBOOK", "Font3", "");
    ASSERT_FALSE(saved.empty());
    EXPECT_EQ('*', saved[0]) << saved;
}
