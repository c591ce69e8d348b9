// The main window's button bar as data: its buttons and separators in order, the pictures of
// each button, and how a button looks for the current selection.
#pragma once

#include <string>

#include "app/command_rules.h"  // SelectionFacts

struct ButtonBarEntry {
    int command;           // 0 for a separator
    int bitmap;            // bitmap resource of the button's picture
    int onBitmap;          // bitmap of its pressed or "on" state, 0 when it has none
    const char* menuText;  // the command's menu entry, the source of the tooltip
};

constexpr int kButtonBarEntryCount = 23;
extern const ButtonBarEntry kButtonBarEntries[kButtonBarEntryCount];

// Every picture the bar uses, in one list: a button's picture is drawn from its position here.
constexpr int kButtonBarBitmapCount = 19;
extern const int kButtonBarBitmaps[kButtonBarBitmapCount];
int ButtonBarImageIndex(int bitmap);  // -1 when the bar has no such picture

constexpr int kButtonBarIdealDayCommand = 388;
constexpr int kButtonBarPictureSize = 24;  // the pictures are square

// The entry of a command, or null when the bar has no button for it.
const ButtonBarEntry* FindButtonBarEntry(int command);

// A tooltip from a menu text: the mnemonic ampersands and an accelerator after a tab left out.
std::string ButtonToolTip(const char* menu_text);

// How a button shows: enabled or not (the answer of message 5180) and which picture. Buttons
// with an "on" picture show it when the selected patient's fact is there; the Ideal Day toggle
// shows its "on" picture while Ideal Day display is on.
struct ButtonLook {
    bool enabled = true;
    int bitmap = 0;
};
ButtonLook ButtonLookFor(const ButtonBarEntry& entry, const SelectionFacts& facts, bool ideal_day);
