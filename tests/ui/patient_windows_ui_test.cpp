// The patient's picture and alert set-up in the running program, by real input on the demo book:
// a picture file put into the practice's pictures folder is shown by Ctrl+U for the selected
// appointment's patient, and "Pat&ient Alerts" opens the set-up, whose OK stores what was typed.

#include "lists/patient_search.h"
#include "screen_capture.h"
#include "sheet_model.h"
#include "suite/patient_alert.h"

constexpr COLORREF kPictureColour = RGB(200, 30, 60);

TEST(PatientWindowsUi, CtrlUShowsThePatientsPictureAndTheAlertSetUpStoresWhatWasTyped) {
    AppRun app("", Practice::kDemoBook);
    HWND main = nullptr, sheet = nullptr;
    SheetModel m;
    ASSERT_NO_FATAL_FAILURE(OpenSheet(app, m, &main, &sheet));
    int32_t day = 0;
    ASSERT_NO_FATAL_FAILURE(ShowBookedDay(main, m, 1, &day));
    const Box box = FindBox(m, [](const DayColumn&, const ApptDisplay& a) { return a.patientId != 0; });
    ASSERT_NE(nullptr, box.column) << "a patient's appointment shows on " << day;
    const uint32_t patient = static_cast<uint32_t>(box.a.patientId);
    PatientRecord record{};
    ASSERT_TRUE(ReadPatient(patient, &record));
    const std::string name = PatientPackedName(record);

    // The picture goes where the program looks by default: "Pictures" in the practice's folder.
    const std::string pictures = app.DataDir() + "\\Pictures";
    CreateDirectoryA(pictures.c_str(), nullptr);
    // A 40 by 30 picture of one colour.
    const uint32_t pixel = (GetRValue(kPictureColour) << 16) | (GetGValue(kPictureColour) << 8) | GetBValue(kPictureColour);
    ASSERT_TRUE(WriteBmpFile(pictures + "\\" + std::to_string(patient) + ".bmp", 40, 30, std::vector<uint32_t>(40 * 30, pixel)));

    ASSERT_TRUE(BringToFront(main));
    Click(sheet, POINT{box.column->left + m.W() + 6, m.MidRow(box.a.startUnit)});
    Settle(500);
    ASSERT_TRUE(BringToFront(main));
    Chord({VK_CONTROL, 'U'});
    HWND picture = app.WaitForDialog(("Patient Picture - " + name).c_str(), 5000);
    ASSERT_NE(nullptr, picture) << "no picture window for patient " << patient;
    HWND image = GetDlgItem(picture, IDC_PICTURE_IMAGE);
    ASSERT_NE(nullptr, image);
    RECT r{};
    GetClientRect(image, &r);
    // Painted when the machine gets to it: the middle of the frame turns the picture's colour.
    COLORREF middle = CLR_INVALID;
    EXPECT_TRUE(WaitUntil([&] { return (middle = Capture(image).At(r.right / 2, r.bottom / 2)) == kPictureColour; }, 10000))
        << "the middle of the picture's frame shows " << std::hex << middle;
    EXPECT_TRUE(PressToClose(picture, IDOK));

    // "Pat&ient Alerts": typed into the set-up and stored by OK.
    ASSERT_TRUE(BringToFront(main));
    PostMessageA(main, WM_COMMAND, MAKEWPARAM(CMD_PATIENT_ALERTS, 0), 0);
    HWND alerts = app.WaitForDialog(("Patient Alerts - " + name).c_str(), 5000);
    ASSERT_NE(nullptr, alerts) << "no alert set-up for patient " << patient;
    ASSERT_TRUE(BringToFront(alerts));
    const std::string before = PatientAlertText(patient, day);
    TypeText(" latex allergy");  // the keys without Shift give small letters
    EXPECT_TRUE(ClickToClose(alerts, IDOK));
    EXPECT_EQ(before + " latex allergy", PatientAlertText(patient, day));
    EXPECT_TRUE(app.AnswerAll().empty()) << "no message after the write";
    ExitProgram(app, main);
}
