// The pin board's contents and the start-up rule for the appointment put aside by another module.
#include "views/pin_board.h"

#include <cstring>

#include "data/appointment_store.h"
#include "data/practice_schedule.h"
#include "suite/workstation_settings.h"

namespace {

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

std::string TrimmedRight(std::string s) {
    while (!s.empty() && (s.back() == ' ' || s.back() == 0)) s.pop_back();
    return s;
}

}  // namespace

int32_t DateOfHit(const HitRecord& record) {
    if (record.day < 0 || record.day >= static_cast<int>(day_data.days.size())) return 0;
    return day_data.days[static_cast<size_t>(record.day)].date;
}

void ParkOnBoard(PinBoardContents* board, const HitRecord& record, int32_t date) {
    board->record = record;
    board->date = date;
    board->parked = true;
}

void EmptyBoard(PinBoardContents* board) {
    board->parked = false;
    board->record = HitRecord();
    board->date = 0;
}

uint32_t ParkedAppointmentId(const PinBoardContents& board) {
    return board.parked ? static_cast<uint32_t>(board.record.appointment.id) : 0;
}

ApptDisplay DisplayOfRecord(const AppointmentRecord& a) {
    ApptDisplay d;
    d.id = static_cast<int32_t>(a.id);
    d.patientId = a.patientId;
    d.name = TrimmedRight(FieldText(a.patientName));
    d.homePhone = FieldText(a.phone);
    d.description = FieldText(a.description);
    std::memcpy(d.provider, a.provider, 4);
    if (a.staffMarker == kMarkerStaff) std::memcpy(d.staff, a.staff, 4);
    d.type = a.type;
    d.amount = a.amount;
    d.length = a.length;
    std::memcpy(d.timePattern, a.timePattern, sizeof d.timePattern);
    d.status = a.status;
    const int provider = FindProviderIndex(a.provider);
    d.colour = provider < 0 ? 0 : practice_tables.providers[static_cast<size_t>(provider)].colour;
    d.startUnit = a.hour * 12 + a.minute / 5;
    return d;
}

bool ParkClipboardAppointment(PinBoardContents* board) {
    const uint32_t id = ReadClipboardAppointment();
    if (id == 0) return false;
    AppointmentRecord a{};
    if (ReadAppointment(id, &a) != 0 || a.unscheduled != 1) return false;
    HitRecord record;
    record.result = kHitAppointment;
    record.appointment = DisplayOfRecord(a);
    ParkOnBoard(board, record, a.date);
    WriteClipboardAppointment(id);
    return true;
}
