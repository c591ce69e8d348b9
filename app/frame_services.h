// What the main window's help menu and its messages from other modules need beside the window:
// the new-patient appointment's patient, the help files and the lines of the About box.
#pragma once

#include <cstdint>
#include <string>

// Message 1127: the selected appointment's id when it is a new-patient appointment, else 0.
uint32_t NewPatientSelection(uint32_t selected_id, uint32_t selected_patient_id);

// Message 1128: the new-patient appointment gets the patient that was made for it. The record is
// written with the patient id only when it still has none; the change is audited and announced
// to the other workstations in place. False when there is nothing to give it to.
bool GiveNewPatientId(uint32_t appointment_id, uint32_t patient_id);

// The help file of that name in the program's folder.
std::string HelpFilePath(const std::string& program_folder, const char* file_name);
// What the user reads when the help file is not there.
std::string MissingHelpFileText(const std::string& path);

// The About box's line of the practice's data directory.
std::string AboutDataLine(const std::string& data_directory);
