// Dialling through assisted telephony. tapi32 is loaded when first needed, so that a workstation
// without telephony still starts.
#include "suite/dial_win.h"

#include "suite/phones.h"
#include "suite/prompter.h"

namespace {

using MakeCall = LONG(WINAPI*)(LPCSTR number, LPCSTR application, LPCSTR called_party, LPCSTR comment);

MakeCall FindDialer() {
    static HMODULE tapi = LoadLibraryA("tapi32.dll");
    return tapi ? reinterpret_cast<MakeCall>(reinterpret_cast<void*>(GetProcAddress(tapi, "tapiRequestMakeCall"))) : nullptr;
}

}  // namespace

int QVN_DialPhoneDialog2(HWND, const std::string& digits, const std::string& name) {
    const std::string shown = QVN_Set_Phone(digits);
    if (!AskYesNo("Dial " + shown + " for " + name + "?")) return 0;
    MakeCall make_call = FindDialer();
    if (make_call && make_call(digits.c_str(), "Appointment Book", name.c_str(), "") == 0) return 1;
    ShowRefusal("The number " + shown + " could not be dialled.\nNo telephone dialer is set up on this workstation.");
    return 0;
}
