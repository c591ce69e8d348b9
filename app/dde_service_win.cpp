// The DDE server of the "PatientInfo" service over DDEML.
#include "app/dde_service_win.h"

#include <ddeml.h>

#include <cstring>
#include <string>

#include "app/current_patient.h"

namespace {

const char kServiceName[] = "PatientInfo";

struct DdeService {
    DWORD instance = 0;
    HSZ service = nullptr;
    HWND mainWindow = nullptr;
    char buffer[257] = {};  // the reply and the names DDEML hands back
};
DdeService dde;

std::string NameOf(HSZ handle) {
    DdeQueryStringA(dde.instance, handle, dde.buffer, sizeof dde.buffer, CP_WINANSI);
    return dde.buffer;
}

HDDEDATA CALLBACK OnTransaction(UINT type, UINT, HCONV, HSZ topic, HSZ service, HDDEDATA, ULONG_PTR, ULONG_PTR) {
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(static_cast<INT_PTR>(IsPatientInfoService(NameOf(service))));
    case XTYP_REQUEST: {
        std::string reply = PatientInfoReply(NameOf(topic), GetFocus() == dde.mainWindow);
        if (reply.empty()) return nullptr;
        std::snprintf(dde.buffer, sizeof dde.buffer, "%s", reply.c_str());
        return DdeCreateDataHandle(dde.instance, reinterpret_cast<LPBYTE>(dde.buffer),
                                   static_cast<DWORD>(std::strlen(dde.buffer) + 1), 0, topic, CF_TEXT, 0);
    }
    default:
        return nullptr;
    }
}

}  // namespace

void StartPatientInfoService(HWND main_window) {
    dde.mainWindow = main_window;
    if (DdeInitializeA(&dde.instance, OnTransaction, APPCLASS_STANDARD, 0) != DMLERR_NO_ERROR) {
        dde.instance = 0;
        return;
    }
    dde.service = DdeCreateStringHandleA(dde.instance, kServiceName, CP_WINANSI);
    DdeNameService(dde.instance, dde.service, nullptr, DNS_REGISTER);
    SetCurrentPatient(0, "");
}

void StopPatientInfoService() {
    if (!dde.instance) return;
    DdeNameService(dde.instance, dde.service, nullptr, DNS_UNREGISTER);
    DdeFreeStringHandle(dde.instance, dde.service);
    DdeUninitialize(dde.instance);
    dde = DdeService{};
}
