// The texts the sheet draws: the time labels of the rows and the lines of an appointment box.
#pragma once

#include <string>

#include "views/day_data.h"

// " 8:00am" on an hour's first row, "  :10  " on the others; noon "12:00pm", midnight
// "12:00am".
std::string TimeRowLabel(int unit);

// The text of line code 1-13 for an appointment; "" for 0 and unknown codes. Type names come
// from the loaded practice tables.
std::string BoxLineText(int code, const ApptDisplay& appointment);

// "0%ld" of whole currency units, truncated: the header's amounts.
std::string WholeAmountText(int64_t cents);

// A time block's caption: "name - PROV", or "^ name - PROV ^" when it began above the view.
std::string BlockCaption(const TimeBlockRecord& block, bool began_above);
