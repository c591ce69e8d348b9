// The sequences of break, delete and set status around their database changes.
#include "appointments/appt_actions.h"

#include "app/refresh.h"
#include "data/appointment_actions.h"
#include "suite/messages.h"
#include "suite/prompter.h"

namespace {

constexpr int kMsgDeletePinned = 6069;
constexpr int kMsgAskDelete = 6070;
constexpr int kMsgAskBreak = 6071;

void DropFromPinBoard(ApptActionWindows& windows, uint32_t id) {
    if (windows.PinnedAppointment() == id) windows.EmptyPinBoard();
}

}  // namespace

int BreakAppointment(ApptActionWindows& windows, uint32_t id) {
    if (QVN_Message(kMsgGroupSuite, kMsgAskBreak) != kAnswerYes) return 0;
    AppointmentRecord before{};
    if (BreakStoredAppointment(id, &before) != ApptChangeResult::kDone) return 0;
    DropFromPinBoard(windows, id);
    const uint8_t station = StationCode();
    if (before.date != 0) AnnounceChange(station, before.date, before.provider, before.operatory, id, kChangeLeft);
    const AppointmentRecord broken = BrokenCopy(before);
    AnnounceChange(station, 0, broken.provider, broken.operatory, id, kChangeArrived);
    windows.AppointmentChanged(id);
    return 1;
}

int DeleteAppointment(ApptActionWindows& windows, uint32_t id) {
    if (windows.PinnedAppointment() == id) {
        QVN_Message(kMsgGroupSuite, kMsgDeletePinned);
        return 0;
    }
    if (QVN_Message(kMsgGroupSuite, kMsgAskDelete) != kAnswerYes) return 0;
    AppointmentRecord before{};
    if (DeleteStoredAppointment(id, &before) != ApptChangeResult::kDone) return 0;
    if (windows.SelectedAppointment() == id) windows.ClearSelection();
    if (windows.PinnedAppointment() == id) {
        windows.ClearSelection();
        windows.EmptyPinBoard();
    }
    AnnounceChange(StationCode(), before.date, before.provider, before.operatory, id, kChangeLeft);
    windows.AppointmentChanged(id);
    return 1;
}

int SetAppointmentStatus(ApptActionWindows& windows, uint32_t id, uint8_t status) {
    AppointmentRecord before{};
    if (SetStoredAppointmentStatus(id, status, &before) != ApptChangeResult::kDone) return 0;
    AnnounceChange(StationCode(), before.date, before.provider, before.operatory, id, kChangeInPlace);
    windows.AppointmentChanged(id);
    return 1;
}
