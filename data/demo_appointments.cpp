// Each working day, each provider works in a home operatory and fills its hours with
// appointments of fitting procedure codes, leaving gaps; a few extra appointments of a doctor
// go into a spare operatory at the same time (double bookings). The save's questions are all
// answered Yes: the book is made within the hours, so the only questions are the double
// bookings that are meant.
#include "data/demo_appointments.h"

#include <cstring>

#include "data/appointment_store.h"
#include "data/demo_random.h"
#include "data/practice_schedule.h"
#include "data/record_text.h"
#include "data/time_pattern.h"
#include "suite/names.h"
#include "suite/phones.h"
#include "suite/prompter.h"

namespace {

// Says Yes to every question and remembers the refusals, so that seeding never blocks.
class SeedingPrompter final : public Prompter {
public:
    SeedingPrompter() : previous_(&CurrentPrompter()) { InstallPrompter(this); }
    ~SeedingPrompter() override { InstallPrompter(previous_ == this ? nullptr : previous_); }
    SeedingPrompter(const SeedingPrompter&) = delete;
    SeedingPrompter& operator=(const SeedingPrompter&) = delete;
    PromptAnswer Show(const PromptRequest& request) override {
        if (request.buttons == kButtonsYesNo) return kAnswerYes;
        last_refusal = request.text;
        return kAnswerOk;
    }
    std::string last_refusal;

private:
    Prompter* previous_;
};

struct HomeRoom {
    const char* provider;
    const char* operatory;
    const char* spare;    // where its double bookings go; nullptr for none
};
const HomeRoom kHomeRooms[] = {
    {"DR1 ", "OP1 ", "OP2 "}, {"DR2 ", "OP3 ", "OP7 "}, {"DR3 ", "OP4 ", nullptr},
    {"HYG1", "OP5 ", nullptr}, {"HYG2", "OP6 ", nullptr},
};

bool IsHygieneCode(const std::string& code) { return code.rfind("D1", 0) == 0 || code == "D4341" || code == "D0120"; }

class Booker {
public:
    Booker(const DemoPractice& demo, uint32_t seed, int32_t today, DemoBookCounts* counts)
        : demo_(demo), random_(seed ^ 0xB00Cu), today_(today), counts_(counts) {
        for (const DemoPatient& p : demo.patients)
            if (p.status != 4) patients_.push_back(&p);
    }

    bool BookDay(int32_t date, std::string* reason) {
        if (HolidayKind(date) != 0) return true;
        const std::vector<DayHours> practice = GetPracticeHours({date});
        if (practice[0].start[0] < 0) return true;
        for (const HomeRoom& room : kHomeRooms) {
            const int index = FindProviderIndex(room.provider);
            if (index < 0) continue;
            const DayHours hours = GetProviderHours(index, {date})[0];
            for (int range = 0; range < 3; ++range) {
                if (hours.start[range] < 0) continue;
                // Within the practice's hours too: the provider's and the practice's may differ.
                int start = hours.start[range], end = hours.end[range];
                ClipToPractice(practice[0], &start, &end);
                if (!BookRange(date, room, start, end, reason)) return false;
            }
        }
        return true;
    }

    bool BookUnscheduled(int count, std::string* reason) {
        for (int i = 0; i < count; ++i) {
            AppointmentRecord a = Base(kHomeRooms[random_.Below(2)], PickCode(false));
            a.date = 0;
            a.unscheduled = 1;
            a.status = kStatusUnscheduled;
            a.listDate = today_ - random_.Below(30);
            if (!Save(a, reason)) return false;
            ++counts_->unscheduled;
        }
        return true;
    }

private:
    static void ClipToPractice(const DayHours& practice, int* start, int* end) {
        for (int r = 0; r < 3; ++r)
            if (practice.start[r] >= 0 && practice.start[r] <= *start && *start < practice.end[r]) {
                if (*end > practice.end[r]) *end = practice.end[r];
                return;
            }
        *end = *start;  // the range lies outside the practice's hours: nothing booked there
    }

    const DemoProcedureCode& PickCode(bool hygiene) {
        for (;;) {
            const DemoProcedureCode& c = random_.Pick(demo_.procedureCodes);
            if (IsHygieneCode(c.code) == hygiene) return c;
        }
    }

    AppointmentRecord Base(const HomeRoom& room, const DemoProcedureCode& code) {
        AppointmentRecord a{};
        a.id = NewAppointmentId();
        a.providerMarker = kMarkerProvider;
        std::memcpy(a.provider, room.provider, 4);
        a.operatoryMarker = kMarkerOperatory;
        std::memcpy(a.operatory, room.operatory, 4);
        a.unitSize = static_cast<uint8_t>(practice_tables.blockUnits);
        a.length = static_cast<uint16_t>(code.timePattern.size() * static_cast<size_t>(practice_tables.blockMinutes));
        for (size_t u = 0; u < code.timePattern.size() && u < 24; ++u)
            SetPatternCode(a.timePattern, static_cast<int>(u),
                           code.timePattern[u] == 'X' ? kPatternProvider : code.timePattern[u] == '/' ? kPatternSlash : 0);
        a.amount = code.fee;
        a.type = static_cast<uint8_t>(code.appointmentType);
        PutText(a.description, code.description);
        a.reasons[0] = static_cast<uint32_t>(&code - demo_.procedureCodes.data()) + 1;  // code ids count from 1
        a.lastChanged = today_;
        if (random_.Below(30) == 0) {
            PutText(a.patientName, QVN_PackName(random_.Pick(std::vector<std::string>{"Nash", "Ortiz", "Price", "Rhodes"}),
                                            random_.Pick(std::vector<std::string>{"Amy", "Ben", "Cora", "Dale"}), ""));
            PutText(a.phone, "(312)555-01" + std::to_string(10 + random_.Below(90)));
            ++counts_->newPatients;
        } else {
            const DemoPatient& p = *patients_[static_cast<size_t>(random_.Below(static_cast<int>(patients_.size())))];
            a.patientId = p.id;
            PutText(a.patientName, QVN_PackName(p.last, p.first, p.middleInitial).substr(0, 30));
            PutText(a.phone, QVN_Set_Phone(p.homePhone));
        }
        return a;
    }

    bool BookRange(int32_t date, const HomeRoom& room, int start, int end, std::string* reason) {
        const bool past = date < today_;
        const int fill = past ? 85 : date - today_ < 14 ? 65 : 30;
        const bool hygiene = std::strncmp(room.provider, "HYG", 3) == 0;
        const int unit = practice_tables.blockUnits;
        for (int slot = start; slot < end;) {
            if (random_.Below(100) >= fill) {
                slot += 3 * unit;
                continue;
            }
            const DemoProcedureCode& code = PickCode(hygiene);
            AppointmentRecord a = Base(room, code);
            const int slots = a.length / 5;
            if (slot + slots > end) break;
            a.date = date;
            a.hour = static_cast<uint8_t>(slot / 12);
            a.minute = static_cast<uint8_t>(slot % 12 * 5);
            a.startUnit = static_cast<uint8_t>(slot / unit);
            if (!past && random_.Below(20) == 0) {
                a.schedule = kScheduleAsap;
                ++counts_->asap;
            }
            if (past) {
                if (random_.Below(10) == 0) {
                    // Broken: it waits on the unscheduled list with the date it had.
                    a.listDate = a.date;
                    a.date = 0;
                    a.unscheduled = 1;
                    a.status = kStatusBroken;
                    ++counts_->broken;
                } else {
                    a.status = kStatusComplete;
                    ++counts_->completed;
                }
            } else if (date == today_ && slot < start + 24) {
                a.status = static_cast<uint8_t>(1 + random_.Below(3));
            }
            if (!Save(a, reason)) return false;
            if (a.date) ++counts_->scheduled;
            if (a.date && room.spare && !past && random_.Below(25) == 0 && !BookDouble(a, room, reason)) return false;
            slot += slots;
        }
        return true;
    }

    // The same provider at the same time in the spare operatory.
    bool BookDouble(const AppointmentRecord& first, const HomeRoom& room, std::string* reason) {
        AppointmentRecord a = Base(room, PickCode(false));
        std::memcpy(a.operatory, room.spare, 4);
        a.date = first.date;
        a.hour = first.hour;
        a.minute = first.minute;
        a.startUnit = first.startUnit;
        a.length = first.length;
        std::memcpy(a.timePattern, first.timePattern, sizeof a.timePattern);
        if (!Save(a, reason)) return false;
        ++counts_->scheduled;
        ++counts_->doubleBooked;
        return true;
    }

    bool Save(const AppointmentRecord& a, std::string* reason) {
        if (a.id == 0) {
            *reason = "no new appointment id";
            return false;
        }
        SeedingPrompter prompts;
        if (SaveAppointment(true, nullptr, a)) return true;
        // A refused double booking (its spare slot already taken) is no failure of the seeding.
        if (!prompts.last_refusal.empty()) return true;
        *reason = "appointment " + std::to_string(a.id) + " could not be saved";
        return false;
    }

    const DemoPractice& demo_;
    DemoRandom random_;
    int32_t today_;
    DemoBookCounts* counts_;
    std::vector<const DemoPatient*> patients_;
};

}  // namespace

bool WriteDemoAppointments(const DemoPractice& demo, uint32_t seed, int32_t today, const DemoBookSpan& span,
                           DemoBookCounts* counts, std::string* reason) {
    *counts = DemoBookCounts{};
    Booker booker(demo, seed, today, counts);
    for (int32_t date = today - span.daysBack; date <= today + span.daysAhead; ++date)
        if (!booker.BookDay(date, reason)) return false;
    return booker.BookUnscheduled(12, reason);
}
