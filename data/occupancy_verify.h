// Checking the week occupancy against the appointments: every provider and operatory week
// record is recomputed from the scheduled appointments and compared field by field (slot
// counters, the day's has-appointments flag, the day amounts); the repair rewrites what
// differs, each record under its lock. Used by qvnadmin verify after a restore or a bulk load (a
// save is one transaction, so a crash leaves nothing to mend).
#pragma once

#include <string>
#include <vector>

struct OccupancyReport {
    int appointments = 0;          // scheduled appointments counted
    int records = 0;               // week records compared (stored or expected)
    std::vector<std::string> differences;  // one readable line each
    int repaired = 0;
    bool ok = true;                // false when the database could not be read or written
};

// Compares, and with repair rewrites, adds or deletes the week records that differ. Works on
// the access layer's open session; run it while no workstation books.
OccupancyReport VerifyOccupancy(bool repair);
