// Writing the demo practice into an empty practice database: the practice, provider, staff
// and operatory records, their schedule base records, definitions, procedure codes, planned and
// completed procedures, continuing care, referral sources, patients and users. Appointments are
// not written here; they go through the appointment store's save path.
#pragma once

#include <cstdint>
#include <string>

#include "data/demo_practice.h"

// Writes the practice on the access layer's open session. Passwords are hashed with the given
// PBKDF2 iteration count (tests use few). False with the reason when a write failed; what was
// written before stays.
bool WriteDemoPractice(const DemoPractice& demo, uint32_t password_iterations, std::string* reason);
