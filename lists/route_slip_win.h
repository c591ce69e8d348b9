// "Print Ro&ute Slip..." (620): the dialog "DLG_PRINTROUTESLIP" ("Print Route Slip").
#pragma once

#include <windows.h>

#include <cstdint>

// Does nothing and returns 0 for appointment 0. Otherwise runs the dialog: "&Print" or "&Batch"
// place the route slip's job (with the wait cursor) and close it with 1, also when the job could
// not be written (the user was told); Cancel closes it with 0.
int PrintRouteSlipDialog(HWND owner, HINSTANCE instance, uint32_t appointment_id);
