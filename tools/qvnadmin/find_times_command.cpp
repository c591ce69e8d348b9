// qvnadmin find-times: the program's free-time search from the command line, one found time a
// line, for support staff answering "why is nothing free?" and for scripts.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "appointments/find_time.h"
#include "data/db_access.h"
#include "data/practice_database.h"
#include "data/practice_schedule.h"
#include "suite/dates.h"
#include "suite/times.h"

namespace {

std::vector<std::string> SplitIds(const std::string& list) {
    std::vector<std::string> ids;
    std::stringstream in(list);
    for (std::string id; std::getline(in, id, ',');)
        if (!id.empty()) ids.push_back((id + "    ").substr(0, 4));
    return ids;
}

bool Number(const std::string& text, int low, int high, int* value) {
    char* end = nullptr;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end || v < low || v > high) return false;
    *value = static_cast<int>(v);
    return true;
}

// "HH:MM" on a 24-hour clock into 5-minute units.
bool ClockUnits(const std::string& text, int* units) {
    int hour = 0, minute = 0;
    const size_t colon = text.find(':');
    if (colon == std::string::npos || !Number(text.substr(0, colon), 0, 24, &hour) ||
        !Number(text.substr(colon + 1), 0, 59, &minute) || hour * 60 + minute > 24 * 60)
        return false;
    *units = (hour * 60 + minute) / 5;
    return true;
}

struct Options {
    std::vector<std::string> providers, operatories;
    int length = 0, pages = 1;
    int32_t start = 0;
    std::string days = "1234567";
    int from = -1, to = -1;
    std::string blockProvider;
    int blockPosition = -1;
    int type = kFindAnyType;
    bool assignedOnly = false;
};

bool Parse(int argc, char** argv, Options* o) {
    for (int i = 3; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--assigned-only") {
            o->assignedOnly = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const std::string value = argv[++i];
        bool ok = true;
        if (name == "--provider") o->providers = SplitIds(value);
        else if (name == "--operatory") o->operatories = SplitIds(value);
        else if (name == "--length") ok = Number(value, 5, 1440, &o->length);
        else if (name == "--start") ok = (o->start = QVN_ParseDate(value)) != 0;
        else if (name == "--days") ok = !value.empty() && value.find_first_not_of("1234567") == std::string::npos && ((o->days = value), true);
        else if (name == "--from") ok = ClockUnits(value, &o->from);
        else if (name == "--to") ok = ClockUnits(value, &o->to);
        else if (name == "--type") ok = Number(value, 0, kTypeNameSlots, &o->type);
        else if (name == "--pages") ok = Number(value, 1, 100000, &o->pages);
        else if (name == "--block") {
            const size_t colon = value.find(':');
            ok = colon != std::string::npos && Number(value.substr(colon + 1), 0, kTimeBlocks - 1, &o->blockPosition);
            if (ok) o->blockProvider = (value.substr(0, colon) + "    ").substr(0, 4);
        } else return false;
        if (!ok) return false;
    }
    return !o->providers.empty() && !o->operatories.empty() && o->length > 0 && o->start != 0 &&
           o->providers.size() <= kFindMaxResources && o->operatories.size() <= kFindMaxResources;
}

}  // namespace

// Exit code 0 when the search ran (whether or not it found anything), 1 when the practice could
// not be opened, 2 on a wrong command line.
int FindTimesCommand(int argc, char** argv, const char* usage) {
    Options o;
    if (argc < 3 || !Parse(argc, argv, &o)) {
        std::fputs(usage, stderr);
        return 2;
    }
    std::string reason;
    if (!OpenPracticeDatabase(argv[2], &reason)) {
        std::fprintf(stderr, "qvnadmin: cannot open the practice database in %s: %s\n", argv[2], reason.c_str());
        return 1;
    }
    struct End {
        ~End() { DbEndSession(); }
    } end_session;
    if (!LoadPracticeTables()) {
        std::fprintf(stderr, "qvnadmin: the practice in %s is not set up\n", argv[2]);
        return 1;
    }
    FindTimeRequest request = NewFindTimeRequest(o.start, o.length);
    for (const std::string& id : o.providers) AddFindProvider(&request, id.c_str());
    for (const std::string& id : o.operatories) AddFindOperatory(&request, id.c_str());
    for (uint8_t& d : request.weekdays) d = 0;
    for (char c : o.days) request.weekdays[c - '1'] = 1;
    request.rangeStart = o.from;
    request.rangeEnd = o.to;
    request.blockType = static_cast<uint8_t>(o.type);
    request.assignedOnly = o.assignedOnly ? 1 : 0;
    if (o.blockPosition >= 0) {
        int position = -1;
        for (int p = 0; p < request.providerCount; ++p)
            if (std::memcmp(request.providers[p], o.blockProvider.c_str(), 4) == 0) position = p;
        if (position < 0) {
            std::fprintf(stderr, "qvnadmin: the block's provider %s is not one of --provider\n", o.blockProvider.c_str());
            return 2;
        }
        request.blockProvider = position;
        request.blockPosition = o.blockPosition;
    }
    for (int page = 0; page < o.pages; ++page) {
        std::vector<FoundTime> found;
        const FindEnd end = SearchFreeTimes(&request, kFindPageSize, &found);
        for (const FoundTime& f : found)
            std::printf("%s %.3s %s %s %.4s %.4s\n", QVN_fmtDateString2000(f.date).c_str(),
                        QVN_getday_name(QVN_week_day(f.date)), QVN_FormatPackTime(f.start).c_str(),
                        QVN_FormatPackTime(f.start + f.length).c_str(), f.provider, f.operatory);
        if (end != FindEnd::kPage) {
            std::printf("%s\n", FindEndMessage(end));
            break;
        }
    }
    return 0;
}
