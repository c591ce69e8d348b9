// What the engine's tests share: appointment-sized records built from raw bytes (the engine is
// tested apart from the program's record structs, by the key segments of its own table) and a
// fresh data directory per test.
#pragma once

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>

constexpr int kAppointments = 9;
constexpr int kByDateOperatory = 10;
constexpr int kByDateProvider = 11;
constexpr int kByName = 12;
constexpr int kById = 13;
constexpr int kByPatient = 14;
constexpr int kUnscheduled = 15;

struct Appointment {
    uint8_t bytes[286] = {};
    // Provider "DR1 ", no name.
    Appointment(uint32_t id, int32_t date, const char* operatory, int hour, uint32_t patient = 0) {
        Fill(id, date, operatory, "DR1 ", hour, patient);
    }
    // With the unscheduled flag set for date 0 and the patient name.
    Appointment(uint32_t id, int32_t date, const char* operatory, const char* provider, int hour, uint32_t patient,
                const char* name) {
        Fill(id, date, operatory, provider, hour, patient);
        bytes[21] = date == 0 ? 1 : 0;
        std::strncpy(reinterpret_cast<char*>(bytes + 22), name, 31);
    }

private:
    void Fill(uint32_t id, int32_t date, const char* operatory, const char* provider, int hour, uint32_t patient) {
        std::memcpy(bytes + 2, &id, 4);
        std::memcpy(bytes + 6, &date, 4);
        bytes[10] = 3;
        std::memcpy(bytes + 11, operatory, 4);
        bytes[15] = 1;
        std::memcpy(bytes + 16, provider, 4);
        std::memcpy(bytes + 54, &patient, 4);
        bytes[153] = static_cast<uint8_t>(hour);
    }
};

inline uint32_t IdOf(const uint8_t* record) {
    uint32_t id;
    std::memcpy(&id, record + 2, 4);
    return id;
}

// A fresh data directory, removed at the end.
class TempDatabase {
public:
    TempDatabase() {
        std::random_device random;
        dir_ = std::filesystem::temp_directory_path() / ("qvn-db-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(dir_);
    }
    ~TempDatabase() {
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TempDatabase(const TempDatabase&) = delete;
    TempDatabase& operator=(const TempDatabase&) = delete;
    std::string Dir() const { return dir_.string(); }
    std::filesystem::path Path() const { return dir_; }
    std::string File() const { return (dir_ / "qvn.db").string(); }

private:
    std::filesystem::path dir_;
};
