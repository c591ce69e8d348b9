// Applying a view to the loaded practice tables.
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
