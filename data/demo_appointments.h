// The demo practice's appointments: past weeks completed or broken, today and the coming weeks
// partly booked, a few double bookings, ASAP and unscheduled appointments, and new patients.
// Every appointment goes through the appointment store's save, so the occupancy is what the
// program itself writes.
#pragma once

#include <cstdint>
#include <string>

#include "data/demo_practice.h"

struct DemoBookSpan {
    int daysBack = 56;    // the past weeks that are booked
    int daysAhead = 28;   // the coming weeks
};

struct DemoBookCounts {
    int scheduled = 0, completed = 0, broken = 0, unscheduled = 0, doubleBooked = 0, asap = 0, newPatients = 0;
};

// Books the appointments on the access layer's open session, with the practice tables loaded.
// The same seed, practice and today give the same book. False with the reason when a save failed.
bool WriteDemoAppointments(const DemoPractice& demo, uint32_t seed, int32_t today, const DemoBookSpan& span,
                           DemoBookCounts* counts, std::string* reason);
