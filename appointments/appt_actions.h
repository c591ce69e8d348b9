// Break, delete and set status as the user starts them on the main window, the sheet's context
// menu or the lists: the question, the change in the database as one unit, then the pin board,
// the selection, the other workstations and the sheet told. The window side is reached through
// ApptActionWindows, so that the sequence runs and is tested without windows.
#pragma once

#include <cstdint>

class ApptActionWindows {
public:
    virtual ~ApptActionWindows() = default;
    // The appointment parked on the pin board, 0 for none; and emptying the board.
    virtual uint32_t PinnedAppointment() = 0;
    virtual void EmptyPinBoard() = 0;
    // The sheet's selected appointment, and clearing the selection.
    virtual uint32_t SelectedAppointment() = 0;
    virtual void ClearSelection() = 0;
    // The appointment changed: the sheet window that owns the action reads it again.
    virtual void AppointmentChanged(uint32_t id) = 0;
};

// Each returns 1 when the change was made, else 0 (No, a refusal, a failure already reported).
int BreakAppointment(ApptActionWindows& windows, uint32_t appointment_id);
int DeleteAppointment(ApptActionWindows& windows, uint32_t appointment_id);
int SetAppointmentStatus(ApptActionWindows& windows, uint32_t appointment_id, uint8_t status);
