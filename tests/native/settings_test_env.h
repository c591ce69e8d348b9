// A private settings file for one test: QUORVIN_SETTINGS points into a fresh temporary folder
// for the test's lifetime, so tests never touch the user's real settings.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "suite/settings.h"

inline void SetEnvironmentValue(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    if (value.empty()) unsetenv(name);
    else setenv(name, value.c_str(), 1);
#endif
}

class TempSettings {
public:
    TempSettings() {
        std::random_device random;
        dir_ = std::filesystem::temp_directory_path() /
               ("qvn-settings-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(dir_);
        path_ = (dir_ / "quorvin.ini").string();
        SetEnvironmentValue("QUORVIN_SETTINGS", path_);
    }
    ~TempSettings() {
        SetEnvironmentValue("QUORVIN_SETTINGS", "");
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }
    TempSettings(const TempSettings&) = delete;
    TempSettings& operator=(const TempSettings&) = delete;

    const std::string& Path() const { return path_; }
    std::filesystem::path Dir() const { return dir_; }

    // Replace the settings file with exactly these bytes.
    void WriteRaw(const std::string& bytes) const { WriteFile(path_, bytes); }
    std::string ReadRaw() const { return ReadFile(path_); }

    static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }

private:
    std::filesystem::path dir_;
    std::string path_;
};
