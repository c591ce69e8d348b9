// Reading the resource records for the resource selection list, and the Select resource
// dialog's choices, row picks and result text.
#include "controls/resource_list_fill.h"

#include <cstring>

#include "data/db_access.h"
#include "suite/names.h"
#include "suite/settings.h"

namespace {

template <size_t N>
std::string FieldText(const char (&field)[N]) {
    return std::string(field, strnlen(field, N));
}

// The program's own session when it has one, else one for the span of the fill.
class FillSession {
public:
    FillSession() : own_(db_state.session == 0) {
        if (own_) ok_ = DbStartSession() == kQdbOk;
    }
    ~FillSession() {
        if (own_ && ok_) DbEndSession();
    }
    FillSession(const FillSession&) = delete;
    FillSession& operator=(const FillSession&) = delete;
    bool Ok() const { return ok_; }

private:
    bool own_;
    bool ok_ = true;
};

}  // namespace

ResourceRowSource RowSourceOf(const ResourceRecord& record) {
    ResourceRowSource r;
    r.type = record.kind;
    r.id = std::string(record.id, 4);
    if (record.kind != kResourceKindOperatory)
        r.packedName = QVN_PackName(FieldText(record.names.lastName), FieldText(record.names.firstName),
                                    FieldText(record.names.middleInitial));
    r.title = FieldText(record.names.title);
    r.providerClass = record.providerClass;
    r.number = FieldText(record.number);
    r.inactive = record.inactive == 1;
    return r;
}

ResourceRecord AllRowRecord() {
    ResourceRecord record{};
    std::memcpy(record.id, "<ALL", 4);
    return record;
}

bool IsAllRowRecord(const ResourceRecord& record) {
    return record.kind == 0 && std::memcmp(record.id, "<ALL", 4) == 0;
}

ResourceRow RowOf(const ResourceRecord& record) {
    return IsAllRowRecord(record) ? MakeAllRow() : MakeResourceRow(RowSourceOf(record));
}

std::vector<int> FillResourceTypes(bool providers, bool staff, bool operatories) {
    if (operatories) return {kResourceOperatory};
    std::vector<int> types;
    if (providers) types.push_back(kResourceProvider);
    if (staff) types.push_back(kResourceStaff);
    return types;
}

int ReadResourceRecords(const std::vector<int>& types, const ResourceFilter& filter,
                        const std::function<void(const ResourceRecord&)>& add) {
    FillSession session;
    if (!session.Ok()) return -1;
    FileGroupDesc desc{};
    DbGroupOf(kResourceFile, &desc);
    DbGroupScope group(desc);
    if (group.Result() != kQdbOk) return 0;
    int added = 0;
    for (int type : types) {
        const uint8_t kind = static_cast<uint8_t>(type);
        ResourceRecord record{};
        uint16_t r = DbStartSetForward(kResourceKey, DbPrepareKey(&kind), &record, 1);
        for (; r == kQdbOk; r = DbNextInSet(kResourceKey, &record)) {
            if (!ResourceRowIncluded(RowSourceOf(record), filter)) continue;
            add(record);
            ++added;
        }
        if (r != kQdbNotFound) break;  // a record that cannot be read ends the fill
    }
    return added;
}

ResourceChoice ResourceChoiceOf(int choice) {
    if (choice == 10) return {kResourceProvider, 0};
    if (choice == 11) return {kResourceProvider, 1};
    return {choice, kAnyProviderClass};
}

const char* SelectResourceTitle(int type) {
    switch (type) {
    case kResourceProvider: return "Select Provider";
    case kResourceStaff: return "Select Staff";
    case kResourceOperatory: return "Select Operatory";
    }
    return "";
}

std::string SelectedResourceText(const ResourceRecord& record, size_t buffer_length) {
    if (buffer_length <= 4) return "";
    const ResourceRow row = RowOf(record);
    std::string text = row.id + " " + row.name;
    if (text.size() > buffer_length - 1) text.resize(buffer_length - 1);
    return text;
}

int InitialResourceRow(const std::vector<std::string>& row_ids, const std::string& wanted_id) {
    if (row_ids.empty()) return -1;
    for (size_t i = 0; i < row_ids.size(); ++i)
        if (!wanted_id.empty() && row_ids[i] == wanted_id) return static_cast<int>(i);
    return 0;
}

std::string WantedResourceId(const std::string& buffer_text) {
    std::string id = buffer_text.substr(0, 4);
    if (id.empty()) id = QVN_ReadProfileText("GENERAL", "def_prov", "").substr(0, 4);
    if (!id.empty() && id.size() < 4) id.resize(4, ' ');
    return id;
}
