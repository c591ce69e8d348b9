// Ranks and the ranked insertion of the family and locate lists.
#include "appointments/list_order.h"

#include <tuple>

ListRank AppointmentRank(int32_t date, int32_t today) {
    if (date == 0) return {kGroupUnscheduled, 0};
    if (date >= today) return {kGroupTodayOrLater, date};
    return {kGroupPast, -static_cast<int64_t>(date)};
}

ListRank CareRank(int32_t due_date) { return {kGroupCareWithoutAppointment, due_date}; }

ListRank SeparatorRank() { return {kGroupSeparator, 0}; }

void RankedLines::Add(const ListRank& rank, ListLine line) {
    if (ranks_.size() >= kRankedLines) {
        lines_.push_back(std::move(line));
        return;
    }
    size_t at = 0;
    while (at < ranks_.size() && std::tie(ranks_[at].group, ranks_[at].value) <= std::tie(rank.group, rank.value)) ++at;
    ranks_.insert(ranks_.begin() + static_cast<std::ptrdiff_t>(at), rank);
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(line));
}
