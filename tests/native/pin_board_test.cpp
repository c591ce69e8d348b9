// The pin board's contents: parking with the date of the shown day, emptying, the parked id; and
// the start-up rule for [Apptbook] "Clipboard Appt" on a real practice database.
#include <gtest/gtest.h>

#include <cstring>
#include <tuple>

#include "data/appointment_record.h"
#include "data/record_text.h"
#include "demo_practice_fixture.h"
#include "suite/dates.h"
#include "suite/settings.h"
#include "suite/workstation_settings.h"
#include "views/pin_board.h"

namespace {

// The demo's appointment builder with a patient, a phone and a staff member.
AppointmentRecord Waiting(uint32_t id, int32_t date, uint8_t unscheduled) {
    AppointmentRecord a = DemoAppt(id, date, 10, 20, 40, "DR1", "OP1");
    a.unscheduled = unscheduled;
    a.status = unscheduled ? kStatusUnscheduled : 0;
    a.patientId = 9;
    PutText(a.phone, "5550001111");
    a.staffMarker = kMarkerStaff;
    PutId(a.staff, "ST1");
    return a;
}

}  // namespace

TEST(PinBoard, ParkKeepsTheDateAndForgetsTheIndexesIntoTheShownDays) {
    const int32_t monday = QVN_DateIn(12, 7, 2026);
    PinBoardContents board;
    EXPECT_EQ(ParkedAppointmentId(board), 0u);
    HitRecord hit;
    hit.result = kHitAppointment;
    hit.day = 4;  // Friday of a week view
    hit.column = 3;
    hit.date = monday + 4;
    hit.appointment.id = 3001;
    hit.appointment.name = "Parked, Pat";
    ParkOnBoard(&board, hit);
    // An index of the week view names nothing in the next day view.
    EXPECT_EQ(std::tuple(true, 3001u, monday + 4, monday + 4, -1, std::string("Parked, Pat")),
              std::tuple(board.parked, ParkedAppointmentId(board), board.date, board.record.date, board.record.day,
                         board.record.appointment.name));
    EmptyBoard(&board);
    EXPECT_EQ(std::tuple(false, 0u, 0), std::tuple(board.parked, ParkedAppointmentId(board), board.date));
}

TEST(PinBoard, ClipboardAppointmentIsParkedWhenItWaitsOnTheList) {
    PracticeTestDatabase db;
    ASSERT_TRUE(db.Ok());
    const int32_t monday = QVN_DateIn(12, 7, 2026);
    ASSERT_EQ(kQdbOk, db.Add(kAppointmentFile, Waiting(77, 0, 1)));
    ASSERT_EQ(kQdbOk, db.Add(kAppointmentFile, Waiting(78, monday, 0)));

    PinBoardContents board;
    EXPECT_FALSE(ParkClipboardAppointment(&board));  // the setting is missing: 0
    EXPECT_FALSE(board.parked);

    // A scheduled appointment stays off the board, as does one that cannot be read; the setting
    // is left as it was.
    for (const char* setting : {"78", "79 gone"}) {
        QVN_WriteProfileString("Apptbook", "Clipboard Appt", setting);
        EXPECT_FALSE(ParkClipboardAppointment(&board)) << setting;
        EXPECT_FALSE(board.parked) << setting;
    }
    EXPECT_EQ(QVN_ReadProfileText("Apptbook", "Clipboard Appt", ""), "79 gone");

    // One waiting on the list is parked without a date, and the setting written again.
    QVN_WriteProfileString("Apptbook", "Clipboard Appt", "077 put aside");
    EXPECT_TRUE(ParkClipboardAppointment(&board));
    ASSERT_TRUE(board.parked);
    EXPECT_EQ(std::tuple(0, 77u, std::string("77")),
              std::tuple(board.date, ParkedAppointmentId(board), QVN_ReadProfileText("Apptbook", "Clipboard Appt", "")));
    const ApptDisplay& d = board.record.appointment;
    EXPECT_EQ("Patient 77|5550001111|ST1 ", d.name + "|" + d.homePhone + "|" + std::string(d.staff, 4));
    EXPECT_EQ(std::tuple(10 * 12 + 4, int{kStatusUnscheduled}), std::tuple(int{d.startUnit}, int{d.status}));
}
