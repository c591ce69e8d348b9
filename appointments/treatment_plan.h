// The patient's treatment-planned procedures as the family appointment list shows them. The
// appointment dialog's "T&x" list reads the same procedures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One line per planned procedure in the order of the procedures' key: "Tx\t%s\t%-28.28s\t%s\t%s"
// (code, description, tooth or quadrant, surfaces), or "Tx\t%s\t%-28.28s" without tooth data.
std::vector<std::string> TreatmentPlanLines(uint32_t patient_id);
