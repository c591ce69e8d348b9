// Print jobs the print program's tests hand it: a day of the whole practice, and the clock text
// the printed day shows an appointment's start with.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>

#include "data/practice_schedule.h"
#include "suite/print_jobs.h"

// The whole day of every provider and operatory (at most 20 each), all nine lines, in rows of
// block 5-minute units from start to end (minutes since midnight).
inline PrintJobRecord DayJob(int32_t date, int block = 2, int start_minutes = 7 * 60, int end_minutes = 18 * 60) {
    PrintJobRecord job = NewPrintJob("ApptBook", "Appointment Book View(12/07/2026)", date);
    PrintBookView& v = job.view;
    v.firstDay = v.lastDay = date;
    v.blockSize = static_cast<uint16_t>(block);
    v.startMinutes = static_cast<uint16_t>(start_minutes);
    v.endMinutes = static_cast<uint16_t>(end_minutes);
    for (const ProviderInfo& p : practice_tables.providers)
        if (v.providerCount < kPrintJobResources) std::memcpy(v.providerIds[v.providerCount++], p.id, 4);
    for (const OperatoryInfo& o : practice_tables.operatories)
        if (v.operatoryCount < kPrintJobResources) std::memcpy(v.operatoryIds[v.operatoryCount++], o.id, 4);
    for (int i = 0; i < 9; ++i) v.lineCodes[i] = static_cast<uint8_t>(i + 1);
    return job;
}

// "9:05am", written here rather than by the suite's time functions.
inline std::string ClockText(int hour, int minute) {
    char text[16];
    std::snprintf(text, sizeof text, "%d:%02d%s", hour % 12 == 0 ? 12 : hour % 12, minute, hour < 12 ? "am" : "pm");
    return text;
}

