// The information box's six lines for patients and new patients, scheduled and unscheduled,
// complete and with statuses with and without colour, morning, afternoon and noon times; and its
// size and place from the sheet and from the pin board near the screen's edges.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suite/dates.h"
#include "views/info_box.h"

namespace {

StatusTables Statuses() {
    return BuildStatusTables({{1, '2', 0, "Here  "}, {2, 'x', 0, "Seated"}, {3, 'x', 0x00804020, "Late"}});
}

ApptDisplay Patient() {
    ApptDisplay a;
    a.id = 501;
    a.patientId = 42;
    a.name = "Smith, John";
    a.title = "Dr.";
    a.preferredName = "Jack";
    a.homePhone = "5551234567";
    a.description = "Crown prep #14";
    a.provider[0] = 'D', a.provider[1] = 'R', a.provider[2] = '1', a.provider[3] = ' ';
    a.length = 60;
    a.startUnit = 14 * 12 + 30 / 5;  // 2:30 pm
    return a;
}

std::vector<std::string> Lines(const InfoBoxContent& c) { return {c.lines.begin(), c.lines.end()}; }

}  // namespace

TEST(InfoBox, LinesOfAPatientAndANewPatient) {
    const int32_t tuesday = QVN_DateIn(3, 10, 2026);
    ApptDisplay a = Patient();
    a.status = 1;
    InfoBoxContent c = InfoBoxContentOf(a, tuesday, Statuses());
    // The name as the record holds it: no title, no preferred name.
    EXPECT_EQ(Lines(c), (std::vector<std::string>{"Smith, John", "Crown prep #14", "(555)123-4567", "Provider: DR1",
                                                  "Tue 03/10/26  2:30pm - 60 min", "Here"}));
    EXPECT_TRUE(c.hasStatusColour);
    EXPECT_EQ(c.statusColour, 0x0000FF00u);

    // A new patient waiting without a date: the name without the sheet's "NP-", no status line.
    ApptDisplay n;
    n.id = 502;
    n.patientId = 0;
    n.name = "Newman, Ann";
    n.description = "New patient exam";
    n.homePhone = "1234567";
    n.provider[0] = 'H', n.provider[1] = 'Y', n.provider[2] = 'G', n.provider[3] = '1';
    n.length = 30;
    n.startUnit = 0;
    c = InfoBoxContentOf(n, 0, Statuses());
    EXPECT_EQ(Lines(c), (std::vector<std::string>{"Newman, Ann", "New patient exam", "123-4567", "Provider: HYG1",
                                                  "Unscheduled - 30 min", ""}));
    EXPECT_FALSE(c.hasStatusColour);

    // A phone hidden for privacy stays hidden, and an empty phone stays empty.
    n.homePhone = "Private";
    EXPECT_EQ(InfoBoxContentOf(n, 0, Statuses()).lines[2], "Private");
    n.homePhone = "";
    EXPECT_EQ(InfoBoxContentOf(n, 0, Statuses()).lines[2], "");
}

TEST(InfoBox, StatusLine) {
    const int32_t date = QVN_DateIn(3, 10, 2026);
    ApptDisplay a = Patient();
    const StatusTables statuses = Statuses();

    a.status = 150;
    InfoBoxContent c = InfoBoxContentOf(a, date, statuses);
    EXPECT_EQ(c.lines[5], "<Complete>");
    EXPECT_FALSE(c.hasStatusColour);

    a.status = 2;  // defined with the stored colour 0: a status without colour
    c = InfoBoxContentOf(a, date, statuses);
    EXPECT_EQ(c.lines[5], "Seated");
    EXPECT_FALSE(c.hasStatusColour);

    a.status = 3;
    c = InfoBoxContentOf(a, date, statuses);
    EXPECT_EQ(c.lines[5], "Late");
    EXPECT_TRUE(c.hasStatusColour);
    EXPECT_EQ(c.statusColour, 0x00804020u);

    for (int none : {0, 7, 100, 101}) {  // none, not defined, broken, waiting on the list
        a.status = none;
        c = InfoBoxContentOf(a, date, statuses);
        EXPECT_EQ(c.lines[5], "") << none;
        EXPECT_FALSE(c.hasStatusColour) << none;
    }
}

TEST(InfoBox, WeekdaysAndTimes) {
    EXPECT_EQ(InfoBoxWhenText(QVN_DateIn(3, 10, 2026), 12 * 12), "Tue 03/10/26  12:00pm");
    EXPECT_EQ(InfoBoxWhenText(QVN_DateIn(3, 8, 2026), 9 * 12 + 1), "Sun 03/08/26  9:05am");
    EXPECT_EQ(InfoBoxWhenText(QVN_DateIn(3, 14, 2026), 23 * 12 + 11), "Sat 03/14/26  11:55pm");
    EXPECT_EQ(InfoBoxWhenText(QVN_DateIn(1, 1, 2027), 0), "Fri 01/01/27  12:00am");
    ApptDisplay a = Patient();
    a.startUnit = 13 * 12 + 3;  // 1:15 pm
    a.length = 5;
    EXPECT_EQ(InfoBoxContentOf(a, QVN_DateIn(12, 7, 2026), Statuses()).lines[4], "Mon 12/07/26  1:15pm - 5 min");
}

TEST(InfoBox, SizeAndPlace) {
    InfoBoxRect size = InfoBoxSize(8, 16);
    EXPECT_EQ(size.width, 256);
    EXPECT_EQ(size.height, 104);
    EXPECT_EQ(InfoBoxSize(7, 15).height, 97);  // 6.5 lines, rounded down

    // From the sheet: centred on the box's top edge, wherever that falls.
    const InfoBoxAnchor top = SheetInfoBoxAnchor(100, 301, 50);
    EXPECT_EQ(top.x, 200);
    EXPECT_EQ(top.y, 50);
    InfoBoxRect r = PlaceInfoBox(size, top, false, 1280);
    EXPECT_EQ(r.x, 72);
    EXPECT_EQ(r.y, -2);
    r = PlaceInfoBox(size, {1270, 1}, false, 1280);
    EXPECT_EQ(r.x, 1142);
    EXPECT_EQ(r.y, -51);

    // From the pin board: centred on the cursor, kept inside the right and top edges.
    r = PlaceInfoBox(size, {600, 400}, true, 1280);
    EXPECT_EQ(r.x, 472);
    EXPECT_EQ(r.y, 348);
    EXPECT_EQ(r.width, 256);
    EXPECT_EQ(r.height, 104);
    r = PlaceInfoBox(size, {1270, 1}, true, 1280);
    EXPECT_EQ(r.x, 1280 - 3 - 256);
    EXPECT_EQ(r.y, 2);
    r = PlaceInfoBox(size, {1149, 54}, true, 1280);  // exactly at both limits: unchanged
    EXPECT_EQ(r.x, 1021);
    EXPECT_EQ(r.y, 2);
}
