// The order of the lines of the family appointment list and of the locate list: continuing care
// without an appointment (by due date), unscheduled appointments, appointments of today and
// later (ascending), the separator when a past appointment is listed, past appointments (the
// most recent first). Lines of equal rank keep their arrival order.
//
// Day numbers here are Julian day numbers, far above the range in which one running sort
// number could hold all five groups, so a line's rank is its group and a value within it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

enum ListLineGroup : int {
    kGroupCareWithoutAppointment = 0,
    kGroupUnscheduled = 1,
    kGroupTodayOrLater = 2,
    kGroupSeparator = 3,
    kGroupPast = 4,
};

struct ListRank {
    int group = kGroupUnscheduled;
    int64_t value = 0;
};

// The rank of a dated appointment (date 0: unscheduled), of a continuing care line, of the
// separator.
ListRank AppointmentRank(int32_t date, int32_t today);
ListRank CareRank(int32_t due_date);
ListRank SeparatorRank();

// A line of one of the two lists with what it stands for.
enum class ListLineKind { kAppointment, kUnscheduled, kSeparator, kCareWithoutAppointment };
struct ListLine {
    std::string text;
    ListLineKind kind = ListLineKind::kAppointment;
    uint32_t appointmentId = 0;
    uint16_t careType = 0;  // the continuing care item of a "[No Appointment]" line
};

// Lines inserted by rank: each goes before the first ranked line of a greater rank. Only the
// first kRankedLines lines keep their rank; the lines after them are appended at the end, as
// they come.
class RankedLines {
public:
    static constexpr size_t kRankedLines = 99;
    void Add(const ListRank& rank, ListLine line);
    const std::vector<ListLine>& Lines() const { return lines_; }
    size_t Size() const { return lines_.size(); }

private:
    std::vector<ListLine> lines_;
    std::vector<ListRank> ranks_;  // of the first ranks_.size() lines
};
