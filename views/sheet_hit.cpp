// Hit testing: the same walk over the units that the painting does, so that what is hit is
// what is drawn there.
#include "views/sheet_hit.h"

#include <algorithm>
#include <cstdlib>

#include "data/appointment_record.h"
#include "views/sheet_layout.h"
#include "views/sheet_markers.h"
#include "views/sheet_state.h"

namespace {

int BlockUnits() { return std::max(practice_tables.blockUnits, 1); }

int Y(int unit) {
    return UnitOffset(unit, sheet_state.topUnit, BlockUnits(), sheet_state.measures.rowHeight);
}

// The marker icons of the box's first row, from the right as they are drawn.
HitResult MarkerAt(const ApptDisplay& a, int box_right, int box_top, int x, int y) {
    const int R = sheet_state.measures.rowHeight;
    const MarkerPlacement set = MarkerSetForRowHeight(R);
    const bool single_row = a.length / 5 == BlockUnits();
    int left = box_right - FirstMarkerRightMargin(R, single_row) - set.size;
    auto on_icon = [&](int icon_left) {
        return x >= icon_left && x < icon_left + set.size && y >= box_top + set.topOffset &&
               y < box_top + set.topOffset + set.size;
    };
    struct Icon {
        bool shown;
        HitResult result;
    };
    const Icon icons[] = {{a.medicalAlert != 0, kHitNoteMarker},
                          {a.noteFlag != 0, kHitNoteMarker},
                          {a.patientAlert == 2, kHitPatientAlert},
                          {LabCaseMarker(a.labCaseState) != kMarkerFamilyCount, kHitLabCase}};
    for (const Icon& icon : icons) {
        if (!icon.shown) continue;
        if (on_icon(left)) return icon.result;
        left -= set.size + 1;
    }
    return kHitAppointment;
}

}  // namespace

HitRecord HitTest(int x, int y, int window_height) {
    HitRecord hit;
    const SheetState& s = sheet_state;
    const int R = s.measures.rowHeight;
    if (R <= 0 || day_data.mode == kMonthView) return hit;
    for (size_t d = 0; d < day_data.days.size(); ++d) {
        const DayRecord& day = day_data.days[d];
        if (x < day.left) break;
        if (x > day.right) continue;
        for (size_t c = 0; c < day.columns.size(); ++c) {
            const DayColumn& column = day.columns[c];
            if (column.kind != kOperatoryColumn || x < column.left || x >= column.right) continue;
            hit.day = static_cast<int>(d);
            hit.date = day.date;
            hit.column = static_cast<int>(c);
            hit.kind = column.kind;
            hit.left = column.left;
            hit.right = column.right;
            for (int u = s.topUnit; u < kUnitsPerDay && Y(u) < window_height;) {
                const int code = column.codes[u];
                if (code < kBlockCodeBase || (code < kAppointmentCodeBase && !s.idealDay)) {
                    ++u;
                    continue;
                }
                const BoxRun run = RunAt(column, u, s.topUnit, BlockUnits());
                const int top = Y(run.firstUnit), bottom = Y(run.lastUnit + 1);
                if (code < kAppointmentCodeBase) {
                    if (y >= std::max(top, 0) && y < bottom) {
                        hit.result = kHitTimeBlock;
                        hit.block = std::min(code - kBlockCodeBase, kMaxDrawnBlocks - 1);
                        hit.top = top;
                        hit.bottom = bottom;
                        return hit;
                    }
                } else if (y >= top && y <= bottom) {
                    const ApptDisplay* a = AppointmentOfCode(column, code);
                    if (a) {
                        hit.appointment = *a;
                        hit.top = top;
                        hit.bottom = bottom + 1;
                        if (run.continuedFromAbove || bottom + 1 > window_height) hit.result = kHitCutOff;
                        else if (y > top + R - 2) hit.result = kHitAppointment;
                        else if (day_data.mode == kDayView && a->status != kStatusComplete)
                            hit.result = MarkerAt(*a, column.right, top, x, y);
                        else hit.result = kHitAppointment;
                        return hit;
                    }
                }
                u = run.lastUnit + 1;
            }
            const int row = y / R;
            const int unit = s.topUnit + row * BlockUnits();
            hit.result = unit < kUnitsPerDay ? kHitEmptySlot : kHitNothing;
            hit.top = row * R;
            hit.bottom = hit.top + R;
            hit.hour = unit / kUnitsPerHour;
            hit.minute = (unit % kUnitsPerHour) * 5;
            return hit;
        }
        return hit;
    }
    return hit;
}

bool BeyondDragDistance(int dx, int dy, int drag_width, int drag_height) {
    return std::abs(dx) > drag_width / 2 || std::abs(dy) > drag_height / 2;
}
