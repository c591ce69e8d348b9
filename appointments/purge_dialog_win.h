// Purge Appointments: the cutoff dialog with its warnings and the last question, then the run
// with the owner disabled and a progress window whose Cancel stops the walk between records.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "data/appointment_actions.h"

// The cutoff dialog; 1 when a purge ran.
int RunPurgeDialog(HWND owner, HINSTANCE instance);

// The run itself, for a cutoff already confirmed. Returns 1.
int PurgeAppointments(HWND owner, HINSTANCE instance, int32_t cutoff);

// The progress window of a run, on a thread of its own: it shows the count and answers Cancel
// while the purge, on the UI thread, waits for the disk. Cancelled also serves the UI thread's
// own windows between records.
class ProgressWindowThread;
class PurgeProgressWindow final : public PurgeProgress {
public:
    PurgeProgressWindow(HWND owner, HINSTANCE instance);
    ~PurgeProgressWindow() override;
    PurgeProgressWindow(const PurgeProgressWindow&) = delete;
    PurgeProgressWindow& operator=(const PurgeProgressWindow&) = delete;
    bool Cancelled() override;
    void Counted(int purged, int read) override;

private:
    std::unique_ptr<ProgressWindowThread> window_;
    bool quit_ = false;
};
