// The program's command line: which patient, if any, the caller asks the appointment book for.
#pragma once

#include <cstdint>

// The patient identifier of the last OAID token, or 0 when there is none.
//
// Tokens begin after a '/' or '-'; a blank does not separate tokens. A token that begins with
// "OAID" in any case carries the identifier in the up to 19 characters that follow, read as a
// decimal number up to the first non-digit. Every other token is ignored. A number that does
// not fit a signed 32-bit identifier asks for no patient (0) rather than a wrapped-around one.
int32_t ParseOaidPatient(const char* command_line);
