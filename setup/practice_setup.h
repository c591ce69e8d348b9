// Practice appointment setup: the practice's default weekly hours and its time block size in
// the base practice record, edited under that record's lock from the opening of the dialog to
// its OK or Cancel, and the workstation settings the same dialog edits.
#pragma once

#include <cstdint>
#include <functional>

#include "suite/workstation_settings.h"

// The five time block sizes the dialog offers, in 5-minute units: 5, 10, 15, 20, 30 minutes.
constexpr int kBlockSizeChoices = 5;
constexpr int kBlockSizeUnits[kBlockSizeChoices] = {1, 2, 3, 4, 6};
// The choice of a size in units (30 minutes for 6); a size the dialog does not offer: -1.
int BlockSizeChoice(int units);

// What the dialog edits of the base practice record.
struct PracticeSetupEdit {
    int32_t hours[7][6];   // per weekday start0, end0, start1, end1, start2, end2; -1 = no time
    int openedBlockUnits;  // the time block size the dialog opened with
    int blockUnits;        // the size chosen
};

// The workstation's keys (and the practice's AlwaysCalculate) that the dialog shows and writes.
struct PracticeSetupSettings {
    int defaultStatus = 0;    // list positions
    int defaultSchedule = 0;
    int defaultType = 0;
    uint32_t openColour = 0;    // BGCOLOR1
    uint32_t closedColour = 0;  // BGCOLOR2
    ButtonBarOrientation orientation = kButtonBarHorizontal;
    bool alwaysCalculate = true;
};
PracticeSetupSettings ReadPracticeSetupSettings();
// "De&fault Colors": 255,255,150 open and 220,220,150 closed.
constexpr uint32_t kDefaultOpenColour = 0x0096FFFF;
constexpr uint32_t kDefaultClosedColour = 0x0096DCDC;

// OK, in its order: the block size question when the size changed ("Confirm Time Block Change",
// OK and Cancel; anything but OK keeps the size the dialog opened with), then every setting is
// written. The size to save is left in edit->blockUnits.
void AcceptPracticeSetup(const PracticeSetupSettings& settings, PracticeSetupEdit* edit);

// Runs practice setup: locks the base practice record (waiting and asking as every locked edit
// does), reads it (a practice without one starts from PracticeInfo's hours and the current block
// size) and hands the edit to dialog, with the lock held. When dialog returns true the record is
// added or rewritten with the edited hours and block size, and only after that write PracticeInfo
// and the process-wide block size take them; false leaves everything as it was. True when saved.
using PracticeSetupDialog = std::function<bool(PracticeSetupEdit& edit)>;
bool RunPracticeSetup(const PracticeSetupDialog& dialog);
