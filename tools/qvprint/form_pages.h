// The one-page reports: the route slip of one appointment and the referral recap of one
// patient. Each is read into plain facts first and laid out from them, so that the layout is
// tested without a database.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "suite/records/print_job.h"
#include "tools/qvprint/page_items.h"

// A report as labelled lines under a heading, in sections.
struct FormSection {
    std::string caption;                                  // "" for none
    std::vector<std::pair<std::string, std::string>> lines;  // label, value (may hold line breaks)
};
struct FormFacts {
    std::string heading;
    std::string subheading;
    std::vector<FormSection> sections;
};

// The facts of a route slip: the appointment, its patient, the reasons, the notes and the
// alerts. False when the appointment is gone (the slip has nothing to show).
bool ReadRouteSlipFacts(uint32_t appointment_id, FormFacts* facts);
// The referral recap: the patient, the referral source and the patient's appointments up to the
// job's day. False when the patient is gone.
bool ReadReferralRecapFacts(uint32_t patient_id, int32_t today, FormFacts* facts);

// One or more pages: a value longer than its line wraps at blanks; a section that would run off
// the page starts a new one.
std::vector<Page> LayOutForm(const FormFacts& facts, const PageMetrics& m);
