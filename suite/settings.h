// The suite's settings store: per-workstation keys by section and key, kept in INI files.
//
// Every module of the suite shares one settings file, named by the identifier "QUORVIN". It is
// the file named by the environment variable QUORVIN_SETTINGS when that is set, otherwise
// %APPDATA%\Quorvin\quorvin.ini. Any other identifier is taken as the path of an INI file of its
// own; the practice's shared "qvndata.inf" in the data directory is read that way.
//
// Sections and keys compare without regard to case. A read returns the stored value or the
// default; a file that is missing, empty, cut short or full of odd bytes reads as far as it goes.
// A write rewrites the whole file through a temporary file and a rename, keeping every other
// line as it was, so a crash never leaves a torn file and no write loses another key.
#pragma once

#include <string>

extern const char kSettingsQuorvin[];  // "QUORVIN", the suite settings file

// The file an identifier stands for ("QUORVIN" or the path of an INI file).
std::string QVN_SettingsFilePath(const char* file = kSettingsQuorvin);

// Integer value of the key, or the default when the key is missing or empty. A value that does
// not start with a number reads as 0 (leading blanks and a sign are allowed; digits after the
// number are ignored, as the Windows profile functions do).
int QVN_ReadProfileInt(const char* section, const char* key, int default_value,
                       const char* file = kSettingsQuorvin);

// Copies the value (or the default when the key is missing) into the buffer, cut to size - 1
// characters and zero-terminated; returns the number of characters copied.
int QVN_ReadProfileString(const char* section, const char* key, const char* default_value,
                          char* buffer, int buffer_size, const char* file = kSettingsQuorvin);

// The same as a std::string, for callers that need no fixed buffer.
std::string QVN_ReadProfileText(const char* section, const char* key, const char* default_value,
                                const char* file = kSettingsQuorvin);

// True when the key is present in the section (even with an empty value).
bool QVN_ProfileKeyExists(const char* section, const char* key,
                          const char* file = kSettingsQuorvin);

// Write a value; the file and its folder are created when missing. A text of nullptr removes
// the key. Line breaks in a text are stored as blanks (one key is one line). Returns 1 when the
// file was written, 0 when it could not be.
int QVN_WriteProfileInt(const char* section, const char* key, int value,
                        const char* file = kSettingsQuorvin);
int QVN_WriteProfileString(const char* section, const char* key, const char* text,
                           const char* file = kSettingsQuorvin);

// The practice's data directory: [GENERAL] Path of the suite settings file, default
// "C:\Quorvin\". Always ends with a path separator.
std::string QVN_GetDataPath();

// Path of the practice's shared settings file "qvndata.inf" in the data directory.
std::string QVN_PracticeInfPath();

// Integer and text keys of "qvndata.inf".
int QVN_ReadPracticeInfInt(const char* section, const char* key, int default_value);
std::string QVN_ReadPracticeInfText(const char* section, const char* key,
                                    const char* default_value);
