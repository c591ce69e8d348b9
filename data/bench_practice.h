// The benchmark practice that qvnadmin seed-bench writes: a large group practice (by default
// twenty operatories and a million appointments over ten years) for measuring the program on a
// book of real size. The practice records are the demo practice's kinds of records; the
// appointments and their week occupancy go in through the engine's bulk writing, the week
// records computed as the save path would leave them.
#pragma once

#include <cstdint>
#include <string>

#include "data/demo_practice.h"

constexpr int kBenchMaxOperatories = 99;  // two-digit resource ids

struct BenchOptions {
    int appointments = 1000000;
    int operatories = 20;
    int patients = 0;                // 0: one for every 20 appointments, at least 400
    uint32_t seed = 1;
    int years = 10;                  // the book's span, which ends about a year after today
    int32_t today = 0;               // day number
    uint32_t passwordIterations = 0; // PBKDF2 iterations of the users' passwords
};

struct BenchCounts {
    int providers = 0, operatories = 0, patients = 0;
    int appointments = 0;            // written: scheduled and broken
    int scheduled = 0, completed = 0, broken = 0, asap = 0, newPatients = 0;
    int weekRecords = 0;             // provider and operatory week records written
    int32_t firstDate = 0, lastDate = 0;
};

// The practice as data: K operatories, every fourth a hygiene room; one provider at home in each
// operatory (doctors and hygienists) and a relief hygienist for every second hygiene room, who
// works there on Fridays while its own hygienist works Monday to Thursday; open Monday to Friday
// 7:00 to 19:00; patients in families, as many as asked or by default one for every twenty
// appointments (at least 400: 50,000 for a million). The same seed gives the same practice.
DemoPractice BuildBenchPractice(uint32_t seed, int operatories, int appointments, int32_t today, int patients = 0);
// The number of patients a book of that many appointments gets (patients: the number asked, 0
// for the default).
int BenchPatientCount(int appointments, int patients);

// Writes the practice and its book into the empty practice database open on the access layer's
// session: the practice records, the appointments (each operatory's open days filled one
// appointment after the other, so that no two overlap in an operatory or for a provider; past
// ones complete or now and then broken, coming ones now and then ASAP), the provider and
// operatory week records of the scheduled ones, and the appointment id counter. Everything goes
// in as one bulk write, which keeps other workstations out. False with the reason when the
// appointments do not fit the operatories or a write failed; then the database is to be thrown
// away.
bool WriteBenchPractice(const BenchOptions& options, BenchCounts* counts, std::string* reason);
