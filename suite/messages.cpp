// The numbered message table and the prompts that show its messages.
#include "suite/messages.h"

#include <deque>
#include <string>
#include <vector>

namespace {

// Messages with fixed texts. Validation failures carry the stop icon, refusals and questions
// the exclamation icon.
const NumberedMessage kFixedMessages[] = {
    {kMsgGroupSuite, 3001,
     "You do not have the right to do this.\nAsk the practice administrator for the right.",
     kButtonsOk, kIconExclamation},
    {kMsgGroupGeneral, 3018, "The records could not be read.\nDatabase error %1 (file %2).",
     kButtonsOk, kIconStop},
    {kMsgGroupSuite, 3020, "The patient records could not be read.\nDatabase error %1.",
     kButtonsOk, kIconStop},
    {kMsgGroupSuite, 3040,
     "There is not enough memory to open this window.\nClose other windows and try again.",
     kButtonsOk, kIconStop},
    {kMsgGroupGeneral, 3180, "The practice definitions could not be read.\nDatabase error %1.",
     kButtonsOk, kIconStop},
    {kMsgGroupGeneral, 3181,
     "The print job could not be added to the print queue.\nDatabase error %1.", kButtonsOk,
     kIconStop},
    {kMsgGroupSuite, 3183, "The memory of the list could not be locked.", kButtonsOk, kIconStop},
    {kMsgGroupSuite, 3184, "The memory of the list could not be freed.", kButtonsOk, kIconStop},
    {kMsgGroupSuite, 3185, "The list has no line %1.", kButtonsOk, kIconStop},
    {kMsgGroupSuite, 3186, "The list has no lines.", kButtonsOk, kIconStop},
    {kMsgGroupSuite, 3196,
     "The program could not be started.\nCheck that it is installed with the Quorvin suite.",
     kButtonsOk, kIconExclamation},
    {kMsgGroupSuite, 3222, "No more lines can be added to the list.", kButtonsOk,
     kIconExclamation},
    {kMsgGroupSuite, 6042, "The date you chose lies in the past.\nDo you want to continue?",
     kButtonsOkCancel, kIconExclamation},
    {kMsgGroupSuite, 6069,
     "This appointment is waiting on the pin board and cannot be deleted.\n"
     "Schedule it or clear the pin board first.",
     kButtonsOk, kIconExclamation},
    {kMsgGroupSuite, 6070, "Delete this appointment?\nA deleted appointment cannot be restored.",
     kButtonsYesNo, kIconExclamation},
    {kMsgGroupSuite, 6071, "Break this appointment?\nIt will be moved to the unscheduled list.",
     kButtonsYesNo, kIconExclamation},
    {kMsgGroupSuite, 6075,
     "The appointments before the cut off date will now be purged.\nThis cannot be undone.",
     kButtonsOkCancel, kIconExclamation},
    {kMsgGroupSuite, 9002, "Please select a patient first.", kButtonsOk, kIconExclamation},
    {kMsgGroupGeneral, 9012, "Please enter digits only.", kButtonsOk, kIconStop},
    {kMsgGroupGeneral, 9018, "Please enter the patient's last name.", kButtonsOk, kIconStop},
    {kMsgGroupGeneral, 9019, "Please enter the patient's first name.", kButtonsOk, kIconStop},
    {kMsgGroupSuite, 9032, "No matching appointments were found.", kButtonsOk,
     kIconExclamation},
    {kMsgGroupGeneral, 9048,
     "Data file %1 is in use elsewhere and could not be opened.\n"
     "Some information will not be shown.",
     kButtonsOk, kIconExclamation},
    {kMsgGroupGeneral, 9049,
     "Data file %1 is damaged and needs to be rebuilt.\n"
     "Ask the practice administrator to rebuild the database.",
     kButtonsOk, kIconStop},
    {kMsgGroupGeneral, 9090, "Please enter a valid time (for example 9:30am).", kButtonsOk,
     kIconStop},
    {kMsgGroupGeneral, 9091, "Please enter a valid date (for example 3/14/2026).", kButtonsOk,
     kIconStop},
    {kMsgGroupGeneral, 9092, "Please enter a whole number.", kButtonsOk, kIconStop},
    {kMsgGroupSuite, 9154,
     "Too many matches: only the first ones are listed.\nType more of the name to narrow the "
     "search.",
     kButtonsOk, kIconExclamation},
    {kMsgGroupGeneral, 9204, "Please enter a description.", kButtonsOk, kIconStop},
};

// The open, close, lock, delete and write failures of each record file, numbered by file.
struct FileMessages {
    const char* file;  // what the user knows the file as
    int open, close, lock, remove, write;
};

const FileMessages kFileMessages[] = {
    {"procedure code file", 3062, 3086, 3109, 3132, 3155},
    {"practice resource file", 3063, 3087, 3110, 3133, 3156},
    {"appointment file", 3064, 3088, 3111, 3134, 3157},
    {"record file 16", 3065, 3089, 3112, 3135, 3158},
    {"patient file", 3066, 3090, 3113, 3136, 3159},
    {"record file 268", 3067, 3091, 3114, 3137, 3160},
    {"record file 36", 3068, 3092, 3115, 3138, 3161},
    {"record file 38", 3069, 3093, 3116, 3139, 3162},
    {"record file 207", 3070, 3094, 3117, 3140, 3163},
    {"new patient file", 3071, 3095, 3118, 3141, 3164},
    {"notes file", 3072, 3096, 3119, 3142, 3165},
    {"definitions file", 3073, 3097, 3120, 3143, 3166},
    {"record file 52", 3075, 3099, 3122, 3145, 3168},
    {"procedure file", 3076, 3100, 3123, 3146, 3169},
    {"record file 92", 3077, 3101, 3124, 3147, 3170},
    {"workstation change file", 3079, 3103, 3126, 3149, 3172},
    {"record file 69", 3080, 3104, 3127, 3150, 3173},
    {"record file 75", 3081, 3105, 3128, 3151, 3174},
    {"print queue file", 3082, 3106, 3129, 3152, 3175},
    {"record file 282", 3083, 3107, 3130, 3153, 3176},
    {"practice database", 0, 3205, 3206, 3207, 3208},
    {"record file", 3084, 3108, 3131, 3154, 3177},
};

struct Table {
    std::deque<std::string> texts;  // owns the texts of the built entries; never moves them
    std::vector<NumberedMessage> entries;

    void Add(int number, const std::string& text, PromptIcon icon) {
        texts.push_back(text);
        entries.push_back({kMsgGroupGeneral, number, texts.back().c_str(), kButtonsOk, icon});
    }
};

const Table& MessageTable() {
    static const Table table = [] {
        Table t;
        for (const NumberedMessage& m : kFixedMessages) t.entries.push_back(m);
        const std::string numbers = "\nDatabase result %1, file %2.";
        for (const FileMessages& f : kFileMessages) {
            const std::string file = f.file;
            if (f.open) t.Add(f.open, "The " + file + " could not be opened." + numbers, kIconStop);
            t.Add(f.close, "The " + file + " could not be closed." + numbers, kIconStop);
            t.Add(f.lock, "The records of the " + file + " could not be locked." + numbers,
                  kIconStop);
            t.Add(f.remove, "A record could not be deleted from the " + file + "." + numbers,
                  kIconStop);
            t.Add(f.write, "A record could not be written to the " + file + "." + numbers,
                  kIconStop);
        }
        t.Add(3283, "The note could not be saved: it is longer than the notes file allows." +
                        numbers, kIconStop);
        return t;
    }();
    return table;
}

std::string FillIn(const char* text, long arg1, long arg2) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '%' && (p[1] == '1' || p[1] == '2')) {
            out += std::to_string(p[1] == '1' ? arg1 : arg2);
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

}  // namespace

const NumberedMessage* QVN_FindMessage(int group, int number) {
    const NumberedMessage* same_number = nullptr;
    for (const NumberedMessage& m : MessageTable().entries) {
        if (m.number != number) continue;
        if (m.group == group) return &m;
        if (!same_number) same_number = &m;
    }
    return same_number;
}

std::string QVN_MessageText(int group, int number, long arg1, long arg2) {
    if (const NumberedMessage* m = QVN_FindMessage(group, number))
        return FillIn(m->text, arg1, arg2);
    return "Unexpected condition " + std::to_string(group) + "-" + std::to_string(number) +
           " (" + std::to_string(arg1) + ", " + std::to_string(arg2) + ").";
}

int QVN_Message(int group, int number, long arg1, long arg2, int buttons) {
    const NumberedMessage* m = QVN_FindMessage(group, number);
    PromptRequest request;
    request.text = QVN_MessageText(group, number, arg1, arg2);
    request.title = kTitleAppointmentBook;
    request.buttons = buttons != kMsgOwnButtons ? static_cast<PromptButtons>(buttons)
                      : m                       ? m->buttons
                                                : kButtonsOk;
    request.icon = m ? m->icon : kIconExclamation;
    return CurrentPrompter().Show(request);
}

int QVN_LockedRecordPrompt(int file_number) {
    PromptRequest request;
    request.text = "A record of data file " + std::to_string(file_number) +
                   " is in use at another workstation.\n"
                   "Choose Retry to try again or Cancel to give up.";
    request.title = kTitleAppointmentBook;
    request.buttons = kButtonsRetryCancel;
    request.icon = kIconExclamation;
    return CurrentPrompter().Show(request);
}

int QVN_ReportDbError(int file_number, int error, int last_file) {
    PromptRequest request;
    request.text = "Database error " + std::to_string(error) + " in data file " +
                   std::to_string(file_number) + " (last file " + std::to_string(last_file) +
                   ").";
    request.title = kTitleAppointmentBook;
    request.buttons = kButtonsOk;
    request.icon = kIconStop;
    CurrentPrompter().Show(request);
    return kAnswerOk;
}

int QVN_MessageCount() { return static_cast<int>(MessageTable().entries.size()); }

const NumberedMessage& QVN_MessageAt(int index) { return MessageTable().entries[index]; }
