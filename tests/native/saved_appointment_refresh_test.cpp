// After the program's own save the sheet reads again only the columns the appointment left and
// entered; the day must come out exactly as a whole reload would make it: unit codes, boxes,
// provider occupancy and the day's scheduled amounts.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/appointment_store.h"
#include "demo_practice_fixture.h"
#include "scripted_prompter.h"
#include "views/active_view.h"
#include "views/day_data.h"

namespace {

const int32_t kMonday = DemoMonday();

// Everything the sheet draws from, one line per column.
std::string Dump() {
    std::string s;
    for (const DayRecord& day : day_data.days) {
        s += "day " + std::to_string(day.date) + " note " + std::to_string(day.hasNote) + "\n";
        for (const DayColumn& c : day.columns) {
            s += std::string(c.id, 4) + " kind " + std::to_string(c.kind) + " amount " + std::to_string(c.dayAmount) +
                 " flag " + std::to_string(c.dayFlag) + " hours";
            for (int i = 0; i < 3; ++i) s += " " + std::to_string(c.hours.start[i]) + "-" + std::to_string(c.hours.end[i]);
            s += " codes";
            for (uint8_t code : c.codes) s += " " + std::to_string(code);
            for (const TimeBlockRecord& b : c.blocks)
                s += " block " + std::string(b.provider, 4) + std::to_string(b.blockNumber) + "@" +
                     std::to_string(b.start) + "-" + std::to_string(b.end);
            for (const ApptDisplay& a : c.appointments)
                s += " appt " + std::to_string(a.id) + " " + a.name + "|" + a.description + "|" + std::string(a.provider, 4) +
                     " @" + std::to_string(a.startUnit) + " len " + std::to_string(a.length) + " amt " +
                     std::to_string(a.amount) + " colour " + std::to_string(a.colour) + " note " +
                     std::to_string(a.noteFlag) + " alerts " + std::to_string(a.medicalAlert) +
                     std::to_string(a.patientAlert);
            s += "\n";
        }
    }
    return s;
}

class SavedAppointmentRefresh : public DemoPracticeTest {
protected:
    void TearDown() override { FreeDays(); }
};

}  // namespace

TEST_F(SavedAppointmentRefresh, TheChangedColumnsEqualAWholeReload) {
    struct Case {
        const char* what;
        bool isNew;
        void (*change)(AppointmentRecord*);
    };
    const Case cases[] = {
        {"move to another time and operatory", false,
         [](AppointmentRecord* a) {
             a->hour = 14;
             a->startUnit = static_cast<uint8_t>(StartInOwnUnits(2, 14, 0));
             PutId(a->operatory, "OP3");
         }},
        {"resize", false, [](AppointmentRecord* a) { a->length = 70; }},
        {"new booking", true, [](AppointmentRecord* a) { a->amount = 4200; }},
        {"change of provider", false, [](AppointmentRecord* a) { PutId(a->provider, "DR2"); }},
        {"move to the next day", false, [](AppointmentRecord* a) { a->date = a->date + 1; }},
    };
    uint32_t id = 9000;
    int32_t monday = kMonday - 7;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // Each case on a Monday of its own, the first on the practice's busy one.
        id += 10;
        monday += 7;
        // The practice's own appointments and a neighbour in the changed
        // appointment's column.
        ASSERT_NO_FATAL_FAILURE(Book(DemoAppt(id + 1, monday, 11, 0, 30, "DR2", "OP2")));
        AppointmentRecord before = DemoAppt(id + 2, monday, 9, 0, 40, "DR1", "OP2");
        if (!c.isNew) {
            ASSERT_NO_FATAL_FAILURE(Book(before));
        }
        ShowOnly({"DR1", "DR2"}, {"OP1", "OP2", "OP3"});
        LoadShownDays({monday, monday + 1}, kDayView);
        const std::string loaded = Dump();

        AppointmentRecord after = c.isNew ? DemoAppt(id + 3, monday, 15, 0, 50, "DR1", "OP1") : before;
        c.change(&after);
        {
            ScriptedPrompter yes;
            for (int i = 0; i < 4; ++i) yes.Answer(kAnswerYes);
            ASSERT_TRUE(SaveAppointment(c.isNew, c.isNew ? nullptr : &before, after));
        }
        RefreshSavedAppointment(c.isNew ? nullptr : &before, after);
        const std::string refreshed = Dump();
        EXPECT_NE(loaded, refreshed) << "the save shows";

        LoadShownDays({monday, monday + 1}, kDayView);
        EXPECT_EQ(Dump(), refreshed);
    }
}
