// INI files of the suite settings store: reading by section and key, rewriting one key.
#include "suite/settings.h"

#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

const char kSettingsQuorvin[] = "QUORVIN";

namespace {

namespace fs = std::filesystem;

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameName(const std::string& a, const char* b) {
    size_t n = std::strlen(b);
    if (a.size() != n) return false;
    for (size_t i = 0; i < n; ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s) {
    size_t begin = 0, end = s.size();
    while (begin < end && IsBlank(s[begin])) ++begin;
    while (end > begin && IsBlank(s[end - 1])) --end;
    return s.substr(begin, end - begin);
}

// One line of an INI file, as it was read (without its line break), with what it means.
struct IniLine {
    enum Kind { kOther, kSection, kKey };
    std::string raw;
    Kind kind = kOther;
    std::string name;   // section name or key name
    std::string value;  // the key's value, blanks and one pair of enclosing quotes removed
};

IniLine ParseLine(std::string raw) {
    IniLine line;
    std::string text = raw;
    if (!text.empty() && text.back() == '\r') text.pop_back();
    line.raw = std::move(raw);
    size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (i == text.size() || text[i] == ';') return line;
    if (text[i] == '[') {
        size_t close = text.find(']', i + 1);
        line.kind = IniLine::kSection;
        line.name = Trim(text.substr(i + 1, close == std::string::npos ? std::string::npos
                                                                        : close - i - 1));
        return line;
    }
    size_t eq = text.find('=', i);
    if (eq == std::string::npos) return line;
    line.kind = IniLine::kKey;
    line.name = Trim(text.substr(i, eq - i));
    line.value = Trim(text.substr(eq + 1));
    if (line.value.size() >= 2 && line.value.front() == '"' && line.value.back() == '"')
        line.value = line.value.substr(1, line.value.size() - 2);
    return line;
}

// The whole file as lines. A missing or unreadable file is an empty one.
struct IniFile {
    std::vector<IniLine> lines;
    bool crlf = false;  // line breaks to write: those the file already uses
};

IniFile LoadIni(const std::string& path) {
    IniFile ini;
#ifdef _WIN32
    ini.crlf = true;
#endif
    std::ifstream in(path, std::ios::binary);
    if (!in) return ini;
    std::ostringstream content;
    content << in.rdbuf();
    const std::string bytes = content.str();
    size_t first_break = bytes.find('\n');
    if (first_break != std::string::npos)
        ini.crlf = first_break > 0 && bytes[first_break - 1] == '\r';
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        ini.lines.push_back(ParseLine(bytes.substr(start, end - start)));
        start = end + 1;
    }
    return ini;
}

// Index of the first line holding the key inside a section of that name, or -1.
long FindKey(const IniFile& ini, const char* section, const char* key) {
    bool in_section = false;
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        const IniLine& line = ini.lines[i];
        if (line.kind == IniLine::kSection) in_section = SameName(line.name, section);
        else if (in_section && line.kind == IniLine::kKey && SameName(line.name, key))
            return static_cast<long>(i);
    }
    return -1;
}

// Index after the last key of the first section of that name, or -1 when there is none.
long EndOfSection(const IniFile& ini, const char* section) {
    long found = -1;
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        const IniLine& line = ini.lines[i];
        if (line.kind == IniLine::kSection) {
            if (found >= 0) break;
            if (SameName(line.name, section)) found = static_cast<long>(i) + 1;
        } else if (found >= 0 && line.kind == IniLine::kKey) {
            found = static_cast<long>(i) + 1;
        }
    }
    return found;
}

// Writes next to the target, then renames over it: readers see the old file or the new one.
bool SaveIni(const IniFile& ini, const std::string& path) {
    std::error_code ec;
    fs::path target(path);
    if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    fs::path temp = target;
    temp += ".tmp" + std::to_string(stamp % 1000000007);
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        for (const IniLine& line : ini.lines) {
            out << line.raw;
            bool has_cr = !line.raw.empty() && line.raw.back() == '\r';
            out << (ini.crlf && !has_cr ? "\r\n" : "\n");
        }
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            return false;
        }
    }
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        return false;
    }
    return true;
}

std::string OneLine(const char* text) {
    std::string s = text;
    for (char& c : s)
        if (c == '\r' || c == '\n') c = ' ';
    return s;
}

int ParseProfileInt(const std::string& value) {
    size_t i = 0;
    while (i < value.size() && IsBlank(value[i])) ++i;
    bool negative = false;
    if (i < value.size() && (value[i] == '-' || value[i] == '+')) negative = value[i++] == '-';
    long long n = 0;
    for (; i < value.size() && value[i] >= '0' && value[i] <= '9'; ++i) {
        n = n * 10 + (value[i] - '0');
        if (n > static_cast<long long>(INT_MAX) + 1) n = static_cast<long long>(INT_MAX) + 1;
    }
    if (negative) n = -n;
    if (n > INT_MAX) n = INT_MAX;
    if (n < INT_MIN) n = INT_MIN;
    return static_cast<int>(n);
}

bool LookUp(const char* section, const char* key, const char* file, std::string* value) {
    IniFile ini = LoadIni(QVN_SettingsFilePath(file));
    long at = FindKey(ini, section, key);
    if (at < 0) return false;
    *value = ini.lines[at].value;
    return true;
}

bool WriteValue(const char* section, const char* key, const char* text, const char* file) {
    const std::string path = QVN_SettingsFilePath(file);
    IniFile ini = LoadIni(path);
    long at = FindKey(ini, section, key);
    if (!text) {
        if (at < 0) return true;
        ini.lines.erase(ini.lines.begin() + at);
        return SaveIni(ini, path);
    }
    if (at >= 0) {
        // Keep the key as the file spells it; only the value changes.
        ini.lines[at] = ParseLine(ini.lines[at].name + "=" + OneLine(text));
        return SaveIni(ini, path);
    }
    IniLine line = ParseLine(std::string(key) + "=" + OneLine(text));
    long end = EndOfSection(ini, section);
    if (end >= 0) {
        ini.lines.insert(ini.lines.begin() + end, line);
    } else {
        ini.lines.push_back(ParseLine("[" + std::string(section) + "]"));
        ini.lines.push_back(line);
    }
    return SaveIni(ini, path);
}

std::string SettingsFileOfSuite() {
    if (const char* env = std::getenv("QUORVIN_SETTINGS"); env && *env) return env;
    if (const char* appdata = std::getenv("APPDATA"); appdata && *appdata)
        return std::string(appdata) + "\\Quorvin\\quorvin.ini";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::string(home) + "/.config/Quorvin/quorvin.ini";
    return "quorvin.ini";
}

}  // namespace

std::string QVN_SettingsFilePath(const char* file) {
    if (!file || !*file || SameName(file, kSettingsQuorvin)) return SettingsFileOfSuite();
    return file;
}

int QVN_ReadProfileInt(const char* section, const char* key, int default_value,
                       const char* file) {
    std::string value;
    if (!LookUp(section, key, file, &value) || value.empty()) return default_value;
    return ParseProfileInt(value);
}

int QVN_ReadProfileString(const char* section, const char* key, const char* default_value,
                          char* buffer, int buffer_size, const char* file) {
    if (!buffer || buffer_size <= 0) return 0;
    std::string value = QVN_ReadProfileText(section, key, default_value, file);
    size_t n = value.size() < static_cast<size_t>(buffer_size - 1) ? value.size()
                                                                   : buffer_size - 1;
    std::memcpy(buffer, value.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(std::strlen(buffer));
}

std::string QVN_ReadProfileText(const char* section, const char* key, const char* default_value,
                                const char* file) {
    std::string value;
    if (LookUp(section, key, file, &value)) return value;
    return default_value ? default_value : "";
}

bool QVN_ProfileKeyExists(const char* section, const char* key, const char* file) {
    std::string value;
    return LookUp(section, key, file, &value);
}

int QVN_WriteProfileInt(const char* section, const char* key, int value, const char* file) {
    return WriteValue(section, key, std::to_string(value).c_str(), file) ? 1 : 0;
}

int QVN_WriteProfileString(const char* section, const char* key, const char* text,
                           const char* file) {
    return WriteValue(section, key, text, file) ? 1 : 0;
}

std::string QVN_GetDataPath() {
    std::string path = QVN_ReadProfileText("GENERAL", "Path", "C:\\Quorvin\\");
    if (path.empty()) path = "C:\\Quorvin\\";
    char last = path.back();
    if (last != '\\' && last != '/') path += path.find('\\') != std::string::npos ? '\\' : '/';
    return path;
}

std::string QVN_PracticeInfPath() { return QVN_GetDataPath() + "qvndata.inf"; }

int QVN_ReadPracticeInfInt(const char* section, const char* key, int default_value) {
    return QVN_ReadProfileInt(section, key, default_value, QVN_PracticeInfPath().c_str());
}

std::string QVN_ReadPracticeInfText(const char* section, const char* key,
                                    const char* default_value) {
    return QVN_ReadProfileText(section, key, default_value, QVN_PracticeInfPath().c_str());
}
