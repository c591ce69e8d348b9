// The options, checks, saved view and job of a printed appointment book day.
#include "setup/print_view.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>

#include "data/practice_schedule.h"
#include "suite/dates.h"
#include "suite/messages.h"
#include "suite/prompter.h"
#include "suite/settings.h"
#include "suite/workstation_settings.h"
#include "views/active_view.h"

namespace {

constexpr const char kSection[] = "APPTBOOK";
constexpr const char kReportName[] = "ApptBook";
constexpr const char kTitleBegin[] = "Appointment Book View(";
constexpr int kMsgInvalidTime = 9090;
constexpr int kMsgInvalidDate = 9091;
constexpr int kUnitsPerHour = 12;
constexpr int kMinutesPerUnit = 5;
constexpr int kEndOfDay = 288;

// "Print &Time at Right" keeps the last print's choice for the rest of the run.
bool last_time_at_right = false;

std::vector<ResourceId> IdsOf(const char (*ids)[4], int count) {
    std::vector<ResourceId> out;
    for (int i = 0; i < count && i < kMaxViewResources; ++i) {
        ResourceId id;
        std::memcpy(id.data(), ids[i], 4);
        out.push_back(id);
    }
    return out;
}

bool ReadFlag(const char* key) { return QVN_ReadProfileInt(kSection, key, 0) != 0; }

int ReadTime(const char* key, const char* default_text, int default_value) {
    const int t = std::atoi(QVN_ReadProfileText(kSection, key, default_text).c_str());
    return t >= 0 && t <= kEndOfDay ? t : default_value;
}

void WriteFlag(const char* key, bool on) { QVN_WriteProfileInt(kSection, key, on ? 1 : 0); }

std::string LineKey(int line) { return "ADIline" + std::to_string(line + 1); }

// Up to twenty identifiers into the job's table; the count written.
uint16_t PutIds(const std::vector<ResourceId>& ids, char (*table)[4]) {
    const size_t n = std::min(ids.size(), static_cast<size_t>(kPrintJobResources));
    for (size_t i = 0; i < n; ++i) std::memcpy(table[i], ids[i].data(), 4);
    return static_cast<uint16_t>(n);
}

}  // namespace

PrintViewOpening OpenPrintView(int32_t first_shown_date, int32_t today) {
    PrintViewOpening opening;
    ViewDefinition view;
    if (ReadViewDefinition(view_state.active.number, &view, view_state.definition, nullptr) == 1) {
        opening.providers = IdsOf(view.providers, view.providerCount);
        opening.operatories = IdsOf(view.operatories, view.operatoryCount);
        opening.options.printAmount = view.showAmount;
        opening.options.startTime = view.beginTime;
        opening.options.endTime = view.endTime;
        std::memcpy(opening.options.lines, view.infoOrder, sizeof opening.options.lines);
    }
    opening.options.printTimeAtRight = last_time_at_right;
    opening.date = first_shown_date != 0 ? first_shown_date : today;
    return opening;
}

std::vector<std::string> PrintLineChoices() {
    const int country = ReadCountryCode();
    std::vector<std::string> texts;
    for (int code = 0; code < kPrintLineChoices; ++code) texts.push_back(DisplayItemLabel(code, country));
    return texts;
}

PrintViewOptions LoadPrintView() {
    PrintViewOptions o;
    for (int line = 0; line < kViewLines; ++line) {
        const int code = QVN_ReadProfileInt(kSection, LineKey(line).c_str(), line + 1);
        o.lines[line] = static_cast<uint8_t>(code >= 0 && code < kPrintLineChoices ? code : line + 1);
    }
    o.printAmount = ReadFlag("PrintAmount");
    o.printColours = ReadFlag("PrintColor");
    o.printDayNote = ReadFlag("PrintDayNote");
    o.printIdealDay = ReadFlag("PrintIdealDay");
    o.printTimeAtRight = ReadFlag("PrintTimeToRight");
    o.startTime = ReadTime("TV_Start", "96", kDefaultViewBegin);
    o.endTime = ReadTime("TV_End", "204", kDefaultViewEnd);
    return o;
}

void SavePrintView(const PrintViewOptions& o) {
    for (int line = 0; line < kViewLines; ++line) QVN_WriteProfileInt(kSection, LineKey(line).c_str(), o.lines[line]);
    WriteFlag("PrintAmount", o.printAmount);
    WriteFlag("PrintColor", o.printColours);
    WriteFlag("PrintDayNote", o.printDayNote);
    WriteFlag("PrintIdealDay", o.printIdealDay);
    WriteFlag("PrintTimeToRight", o.printTimeAtRight);
    QVN_WriteProfileInt(kSection, "TV_Start", o.startTime);
    QVN_WriteProfileInt(kSection, "TV_End", o.endTime);
}

PrintViewFocus CheckPrintTimeSpan(int start, int end) {
    if (end - start >= kUnitsPerHour) return kPrintViewAccepted;
    ShowStop("Invalid time span!");
    return kPrintViewFocusStartHour;
}

PrintViewFocus ReadPrintViewHours(const PrintViewInput& input, PrintViewOptions* options) {
    const int start_hour = HourOfText(input.startHour);
    if (start_hour == 0) {
        QVN_Message(kMsgGroupGeneral, kMsgInvalidTime);
        return kPrintViewFocusStartHour;
    }
    const int end_hour = HourOfText(input.endHour);
    if (end_hour == 0) {
        QVN_Message(kMsgGroupGeneral, kMsgInvalidTime);
        return kPrintViewFocusEndHour;
    }
    const int start = TimeOfHourField(start_hour, input.startPm);
    const int end = TimeOfHourField(end_hour, input.endPm);
    if (const PrintViewFocus focus = CheckPrintTimeSpan(start, end)) return focus;
    options->startTime = start;
    options->endTime = end;
    return kPrintViewAccepted;
}

PrintViewFocus CheckPrintView(const PrintViewInput& input, PrintViewRequest* request) {
    const int32_t date = QVN_ParseDate(input.date);
    if (date == 0) {
        QVN_Message(kMsgGroupGeneral, kMsgInvalidDate);
        return kPrintViewFocusDate;
    }
    if (input.providers.empty()) {
        ShowStop("At least one provider must be selected");
        return kPrintViewFocusProviders;
    }
    if (input.operatories.empty()) {
        ShowStop("At least one operatory must be selected");
        return kPrintViewFocusOperatories;
    }
    PrintViewOptions options = input.options;
    if (const PrintViewFocus focus = ReadPrintViewHours(input, &options)) return focus;
    request->date = date;
    request->providers = input.providers;
    request->operatories = input.operatories;
    request->options = options;
    last_time_at_right = input.options.printTimeAtRight;
    return kPrintViewAccepted;
}

PrintJobRecord MakeBookViewJob(const PrintViewRequest& request, int32_t today) {
    const std::string title = kTitleBegin + QVN_fmtDateString2000(request.date) + ")";
    PrintJobRecord job = NewPrintJob(kReportName, title.c_str(), today);
    PrintBookView& v = job.view;
    v.firstDay = request.date;
    v.lastDay = request.date;
    v.blockSize = static_cast<uint16_t>(practice_tables.blockUnits);
    v.startMinutes = static_cast<uint16_t>(request.options.startTime * kMinutesPerUnit);
    v.endMinutes = static_cast<uint16_t>(request.options.endTime * kMinutesPerUnit);
    v.providerCount = PutIds(request.providers, v.providerIds);
    v.operatoryCount = PutIds(request.operatories, v.operatoryIds);
    for (int i = 0; i < v.providerCount; ++i) {
        const int index = FindProviderIndex(v.providerIds[i]);
        v.providerColours[i] = index >= 0 ? practice_tables.providers[static_cast<size_t>(index)].colour : 0;
    }
    const PrintViewOptions& o = request.options;
    v.printAmount = o.printAmount ? 1 : 0;
    v.printColours = o.printColours ? 1 : 0;
    std::memcpy(v.lineCodes, o.lines, kViewLines);
    v.printDayNote = o.printDayNote ? 1 : 0;
    v.printIdealDay = o.printIdealDay ? 1 : 0;
    v.printTimeAtRight = o.printTimeAtRight ? 1 : 0;
    return job;
}

PrintJobOutcome MakePrintJob(const PrintViewRequest& request, int32_t today, bool batch, PrintProgramLink& link) {
    return SubmitPrintJob(MakeBookViewJob(request, today), batch, link);
}
