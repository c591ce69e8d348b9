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

TEST(InfoBox, LinesOfAPatientAndANewPatientTheStatusLineAndTimes) {
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

    // The status line: complete, plain, coloured, undefined and waiting.
    struct Case {
        int status;
        const char* line;
        bool coloured;
    } cases[] = {{150, "<Complete>", false}, {2, "Seated", false}, {3, "Late", true}, {7, "", false}, {101, "", false}};  // 7: not defined; 101 waiting
    for (const Case& t : cases) {
        a.status = t.status;
        const InfoBoxContent content = InfoBoxContentOf(a, tuesday, Statuses());
        EXPECT_EQ(t.line + std::string(t.coloured ? " coloured" : ""), content.lines[5] + (content.hasStatusColour ? " coloured" : ""));
    }
    a.status = 3;
    EXPECT_EQ(0x00804020u, InfoBoxContentOf(a, tuesday, Statuses()).statusColour);

    EXPECT_EQ((std::vector<std::string>{"Tue 03/10/26  12:00pm", "Sun 03/08/26  9:05am", "Fri 01/01/27  12:00am"}),
              (std::vector<std::string>{InfoBoxWhenText(QVN_DateIn(3, 10, 2026), 12 * 12), InfoBoxWhenText(QVN_DateIn(3, 8, 2026), 9 * 12 + 1),
                                        InfoBoxWhenText(QVN_DateIn(1, 1, 2027), 0)}));
}

TEST(InfoBox, SizeAndPlace) {
    const InfoBoxRect size = InfoBoxSize(8, 16);
    EXPECT_EQ((std::vector<int>{256, 104}), (std::vector<int>{size.width, size.height}));
    EXPECT_EQ(97, InfoBoxSize(7, 15).height);  // 6.5 lines, rounded down
    const InfoBoxAnchor top = SheetInfoBoxAnchor(100, 301, 50);  // centred on the box's top edge
    struct Case {
        InfoBoxAnchor at;
        bool pinBoard;
        int x, y;
    } cases[] = {
        {top, false, 72, -2}, {{1270, 1}, false, 1142, -51},  // from the sheet: wherever it falls
        {{1270, 1}, true, 1280 - 3 - 256, 2},                // from the pin board: kept inside
        {{1149, 54}, true, 1021, 2},                          // exactly at both limits
    };
    for (const Case& c : cases) {
        const InfoBoxRect r = PlaceInfoBox(size, c.at, c.pinBoard, 1280);
        EXPECT_EQ((std::vector<int>{c.x, c.y}), (std::vector<int>{r.x, r.y})) << c.at.x << "," << c.at.y;
    }
}
