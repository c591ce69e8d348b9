// The base practice record edited by practice setup, and the settings its OK writes.
#include "setup/practice_setup.h"

#include <cstring>

#include "data/practice_schedule.h"
#include "data/record_locks.h"
#include "data/rscuse_record.h"
#include "suite/prompter.h"
#include "suite/records/practice_resource.h"
#include "suite/settings.h"

namespace {

const char kApptbook[] = "APPTBOOK";
const char kConfirmBlockChange[] =
    "Changing Time Block Size may make the appointment times invalid until each appointment is edited or "
    "moved.  Continue with Time Block Size change?";
const char kConfirmBlockChangeTitle[] = "Confirm Time Block Change";

int32_t ToWorking(uint16_t t) { return t == kNoTime ? -1 : t; }
uint16_t ToRecord(int32_t t) { return t < 0 ? kNoTime : static_cast<uint16_t>(t); }

// Hours by weekday as the record keeps them: three starts, then three ends.
void TakeHours(const uint16_t start[7][3], const uint16_t end[7][3], PracticeSetupEdit* edit) {
    for (int d = 0; d < 7; ++d)
        for (int k = 0; k < 3; ++k) {
            edit->hours[d][2 * k] = ToWorking(start[d][k]);
            edit->hours[d][2 * k + 1] = ToWorking(end[d][k]);
        }
}

void GiveHours(const PracticeSetupEdit& edit, uint16_t start[7][3], uint16_t end[7][3]) {
    for (int d = 0; d < 7; ++d)
        for (int k = 0; k < 3; ++k) {
            start[d][k] = ToRecord(edit.hours[d][2 * k]);
            end[d][k] = ToRecord(edit.hours[d][2 * k + 1]);
        }
}

// A new base record: the head filled in, the rest zero, the hours of PracticeInfo (the defaults
// the practice has been shown with) and the current block size.
void StartNewBase(RscUsePracticeBase* base, PracticeSetupEdit* edit) {
    *base = RscUsePracticeBase{};
    base->head.week = 0;
    base->head.kind = kRscPractice;
    std::memcpy(base->head.id, kPracticeId, 4);
    if (const PracticeInfo* p = practice_tables.practice.get()) {
        uint16_t start[7][3], end[7][3];
        std::memcpy(start, p->defaultStart, sizeof start);
        std::memcpy(end, p->defaultEnd, sizeof end);
        TakeHours(start, end, edit);
    } else {
        for (auto& day : edit->hours)
            for (int32_t& t : day) t = -1;
    }
    edit->openedBlockUnits = practice_tables.blockMinutes / 5;
}

}  // namespace

int BlockSizeChoice(int units) {
    for (int i = 0; i < kBlockSizeChoices; ++i)
        if (kBlockSizeUnits[i] == units) return i;
    return -1;
}

PracticeSetupSettings ReadPracticeSetupSettings() {
    PracticeSetupSettings s;
    s.defaultStatus = QVN_ReadProfileInt(kApptbook, "DefaultStatus", 0);
    s.defaultSchedule = QVN_ReadProfileInt(kApptbook, "DefaultSchedule", 0);
    s.defaultType = QVN_ReadProfileInt(kApptbook, "DefaultType", 0);
    s.openColour = ReadColour(kColourBackground1);
    s.closedColour = ReadColour(kColourBackground2);
    s.orientation = ReadButtonBarOrientation();
    s.alwaysCalculate = ReadAlwaysCalculate();
    return s;
}

void AcceptPracticeSetup(const PracticeSetupSettings& settings, PracticeSetupEdit* edit) {
    if (edit->blockUnits != edit->openedBlockUnits) {
        PromptRequest question{kConfirmBlockChange, kConfirmBlockChangeTitle, kButtonsOkCancel, kIconExclamation};
        if (CurrentPrompter().Show(question) != kAnswerOk) edit->blockUnits = edit->openedBlockUnits;
    }
    QVN_WriteProfileInt(kApptbook, "DefaultStatus", settings.defaultStatus);
    QVN_WriteProfileInt(kApptbook, "DefaultSchedule", settings.defaultSchedule);
    QVN_WriteProfileInt(kApptbook, "DefaultType", settings.defaultType);
    WriteColour(kColourBackground1, settings.openColour);
    WriteColour(kColourBackground2, settings.closedColour);
    WriteButtonBarOrientation(settings.orientation);
    WriteAlwaysCalculate(settings.alwaysCalculate);
}

bool RunPracticeSetup(const PracticeSetupDialog& dialog) {
    RscUseKey key{kRscPractice, {}, 0};
    std::memcpy(key.id, kPracticeId, 4);
    PracticeSetupEdit edit{};
    bool saved = false;
    const uint16_t result =
        EditLocked<RscUsePracticeBase>(kRscUseFile, kRscUseKey, key, [&](RscUsePracticeBase& base, bool exists) {
            if (exists) {
                uint16_t start[7][3], end[7][3];
                std::memcpy(start, base.defaultStart, sizeof start);
                std::memcpy(end, base.defaultEnd, sizeof end);
                TakeHours(start, end, &edit);
                edit.openedBlockUnits = base.blockSize;
            } else {
                StartNewBase(&base, &edit);
            }
            edit.blockUnits = edit.openedBlockUnits;
            if (!dialog(edit)) return LockedEdit::kNothing;
            uint16_t start[7][3], end[7][3];
            GiveHours(edit, start, end);
            std::memcpy(base.defaultStart, start, sizeof start);
            std::memcpy(base.defaultEnd, end, sizeof end);
            base.blockSize = static_cast<uint16_t>(edit.blockUnits);
            saved = true;
            return LockedEdit::kWrite;
        });
    if (result != kQdbOk || !saved) return false;
    if (PracticeInfo* p = practice_tables.practice.get()) {
        uint16_t start[7][3], end[7][3];
        GiveHours(edit, start, end);
        std::memcpy(p->defaultStart, start, sizeof start);
        std::memcpy(p->defaultEnd, end, sizeof end);
        p->blockSize = static_cast<uint16_t>(edit.blockUnits);
    }
    practice_tables.blockUnits = edit.blockUnits;
    practice_tables.blockMinutes = edit.blockUnits * 5;
    return true;
}
