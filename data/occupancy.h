// The week occupancy of providers and operatories: the RscUse week records that say which
// 5-minute slots of a day are booked, whether a day has appointments and how much is scheduled.
//
// A save changes them as one unit with the appointment record: the week records it touches (the
// old and the new place's provider and operatory weeks) are locked first, read under their
// locks into a WeekRecords, changed there in memory (the old place's share taken out, the new
// place's checks run and its share put in), and written in the save's transaction. A No, a
// refusal or a failure before the commit leaves the stored records as they were.
#pragma once

#include <map>
#include <string>

#include "data/appointment_record.h"
#include "data/record_locks.h"
#include "data/rscuse_record.h"
#include "suite/qdb/qdb.h"

class WeekRecords {
public:
    // The keys of an appointment's provider week and operatory week.
    static RscUseKey ProviderWeekOf(const AppointmentRecord& appointment);
    static RscUseKey OperatoryWeekOf(const AppointmentRecord& appointment);

    // Adds the provider and operatory weeks of a scheduled appointment to the records of the
    // change and their keys to its locks.
    void Want(const AppointmentRecord& appointment, QdbFile rscuse, RecordLockSet& locks);

    // Reads every wanted record, under the locks taken meanwhile; a missing one starts as a new,
    // empty record. False after a database failure (reported).
    bool Read(QdbSession session, QdbFile rscuse);

    // The record of a key as changed so far; nullptr when it is not one of the change's.
    RscUseWeek* Find(const RscUseKey& key);
    bool Existed(const RscUseKey& key) const;

    // Writes what changed, inside the caller's open transaction: a new record added, a changed
    // one rewritten, one that holds nothing any more deleted. False after a failure (the
    // engine's result is set; the caller aborts the transaction).
    bool Write(QdbFile rscuse) const;

private:
    struct Entry {
        RscUseWeek record{};
        RscUseWeek stored{};  // as read; all zero for a new record
        bool existed = false;
    };
    std::map<std::string, Entry> entries_;  // by the 9 key bytes
};

// Takes an appointment's share out of its week records (in memory): the operatory's slots, the
// provider's provider-time slots, the day flags and amounts. False when its operatory has no
// week record (the save then fails without a message).
bool TakeOutOccupancy(WeekRecords& weeks, const AppointmentRecord& appointment);

// Runs the checks of the provider's week (on the record as changed so far) and of the operatory,
// with their questions and refusals, and puts the appointment's share in. False: refused or No.
bool PutInOccupancy(WeekRecords& weeks, const AppointmentRecord& appointment, QdbFile rscuse);

// True when a week record holds nothing any more (no day flag, amount, hour override or slot
// counter): a provider's record in that state is deleted rather than kept.
bool WeekRecordHoldsNothing(const RscUseWeek& week);
