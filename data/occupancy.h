// The week occupancy of providers and operatories: the RscUse week records that say which
// 5-minute slots of a day are booked, whether a day has appointments and how much is scheduled.
// Only the appointment save and the appointment actions change them, always with the record as
// it is (or was) stored, each change as one read-modify-write on a private session.
#pragma once

#include "data/appointment_record.h"
#include "data/rscuse_record.h"

// Checks and adds the appointment to its provider's and then its operatory's week records. The
// asking form runs the provider checks and refuses booked slots; the silent form, which puts a
// removed occupancy back, asks only the provider-hours question. False: refused, answered No or a
// database failure; then neither record has changed.
bool AddOccupancy(const AppointmentRecord& appointment, bool silent);

// Removes the appointment from its operatory's week record and then from its provider's. The
// result is the operatory part's: it fails when the operatory has no week record.
bool RemoveOccupancy(const AppointmentRecord& appointment);

// True when a week record holds nothing any more (no day flag, amount, hour override or slot
// counter): a provider's record in that state is deleted rather than kept.
bool WeekRecordHoldsNothing(const RscUseWeek& week);
