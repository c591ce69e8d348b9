// Applying a view to the loaded practice tables, and the view state of the running program.
#include "views/active_view.h"

#include <cstring>

namespace {

int ResolveIds(const char (*ids)[4], int count, const std::vector<ResourceIdBytes>& table,
               int* indices) {
    int kept = 0;
    for (int i = 0; i < count && i < kMaxViewResources; ++i) {
        for (size_t t = 0; t < table.size(); ++t) {
            if (std::memcmp(ids[i], table[t].data(), 4) == 0) {
                indices[kept++] = static_cast<int>(t);
                break;
            }
        }
    }
    return kept;
}

}  // namespace

void ApplyViewDefinition(int n, const ViewDefinition& view,
                         const std::vector<ResourceIdBytes>& provider_table,
                         const std::vector<ResourceIdBytes>& operatory_table, ActiveView* active) {
    active->number = ViewNumberToApply(n);
    active->providerCount = ResolveIds(view.providers, view.providerCount, provider_table, active->providers);
    active->operatoryCount =
        ResolveIds(view.operatories, view.operatoryCount, operatory_table, active->operatories);
    std::memcpy(active->days, view.days, sizeof active->days);
    active->showAmount = view.showAmount;
    active->showAlerts = view.showAlerts;
    active->showNotes = view.showNotes;
    active->beginTime = view.beginTime;
    active->endTime = view.endTime;
    std::memcpy(active->infoOrder, view.infoOrder, sizeof active->infoOrder);
}

int ViewNumberToApply(int n) { return n >= 1 && n <= kMaxUserView ? n : 1; }

int ViewForFunctionKey(int function_key_number, int current_view) {
    if (function_key_number < 1 || function_key_number > kMaxUserView) return 0;
    return function_key_number == current_view ? 0 : function_key_number;
}

ViewState view_state;

int FirstShownTimeOf(const PracticeInfo& practice, int weekday) {
    const uint16_t start = practice.defaultStart[weekday][0];
    return start == kNoTime ? 7 * 12 : start / 12 * 12;
}

std::vector<int> OpenWeekdaysOf(const PracticeInfo& practice) {
    std::vector<int> days;
    for (int d = 0; d < 7; ++d)
        if (practice.defaultStart[d][0] != kNoTime) days.push_back(d);
    return days;
}

namespace {

std::vector<ResourceIdBytes> IdsOf(const std::vector<ProviderInfo>& providers) {
    std::vector<ResourceIdBytes> ids;
    for (const ProviderInfo& p : providers) ids.push_back({p.id[0], p.id[1], p.id[2], p.id[3]});
    return ids;
}

std::vector<ResourceIdBytes> IdsOf(const std::vector<OperatoryInfo>& operatories) {
    std::vector<ResourceIdBytes> ids;
    for (const OperatoryInfo& o : operatories) ids.push_back({o.id[0], o.id[1], o.id[2], o.id[3]});
    return ids;
}

// The view the empty lists of the next one fall back to: the applied view, or before any the
// working selection of the loaded tables.
ViewDefinition CurrentDefinition() {
    if (view_state.applied) return view_state.definition;
    ViewDefinition current;
    for (int index : practice_tables.shownProviders)
        std::memcpy(current.providers[current.providerCount++], practice_tables.providers[static_cast<size_t>(index)].id, 4);
    for (int index : practice_tables.shownOperatories)
        std::memcpy(current.operatories[current.operatoryCount++], practice_tables.operatories[static_cast<size_t>(index)].id, 4);
    return current;
}

bool ProviderActive(const char id[4]) {
    const int index = FindProviderIndex(id);
    return index >= 0 && practice_tables.providers[static_cast<size_t>(index)].listExclusion == 0;
}

}  // namespace

void ApplyView(int n) {
    const int number = ViewNumberToApply(n);
    ViewDefinition view;
    ReadViewDefinition(number, &view, CurrentDefinition(), ProviderActive);
    ApplyViewDefinition(number, view, IdsOf(practice_tables.providers), IdsOf(practice_tables.operatories),
                        &view_state.active);
    view_state.definition = view;
    view_state.applied = true;
}
