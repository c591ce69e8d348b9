// Readers and writers of the appointment book's workstation keys, with their defaults.
#include "suite/workstation_settings.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "suite/settings.h"

namespace {

const char kApptbook[] = "APPTBOOK";

int ReadInt(const char* key, int default_value) {
    return QVN_ReadProfileInt(kApptbook, key, default_value);
}

// The text of a key as a fixed buffer of the given size would hold it.
std::string ReadLimited(const char* section, const char* key, const char* default_value,
                        int max_chars) {
    std::string text = QVN_ReadProfileText(section, key, default_value);
    text = text.substr(0, std::strlen(text.c_str()));  // a stored NUL ends the text
    return text.size() > static_cast<size_t>(max_chars) ? text.substr(0, max_chars) : text;
}

CountryReader country_reader = nullptr;

}  // namespace

const char* ColourKeyName(ColourKey key) {
    static const char* const kNames[4] = {"BGCOLOR1", "BGCOLOR2", "COLOR2", "COLOR3"};
    return kNames[key];
}

const char* ColourDefaultText(ColourKey key) {
    static const char* const kDefaults[4] = {"255,255,150", "220,220,150", "128,255,255",
                                             "225,225,0"};
    return kDefaults[key];
}

uint32_t ParseColourText(ColourKey key, const std::string& text) {
    const bool background = key == kColourBackground1 || key == kColourBackground2;
    const char* s = text.c_str();
    if (text.size() == 11) {
        if (background) return QVN_Rgb(std::atoi(s), std::atoi(s + 4), std::atoi(s + 8));
        int r = 0, g = 0, b = 0;
        std::sscanf(s, "%d%*c%d%*c%d", &r, &g, &b);
        return QVN_Rgb(r, g, b);
    }
    if (background) return static_cast<uint32_t>(std::strtoul(s, nullptr, 10));
    return key == kColourUnavailable ? QVN_Rgb(128, 255, 255) : QVN_Rgb(255, 255, 0);
}

uint32_t ReadColour(ColourKey key) {
    return ParseColourText(key, ReadLimited(kApptbook, ColourKeyName(key),
                                            ColourDefaultText(key), 19));
}

SheetColours ReadSheetColours() {
    return {ReadColour(kColourBackground1), ReadColour(kColourBackground2),
            ReadColour(kColourUnavailable), ReadColour(kColourDayNote)};
}

int WriteColour(ColourKey key, uint32_t colour) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(colour));
    return QVN_WriteProfileString(kApptbook, ColourKeyName(key), text);
}

namespace {

// Splits at commas; the last field runs to the end.
std::string NextField(const std::string& text, size_t* pos) {
    if (*pos > text.size()) return "";
    size_t comma = text.find(',', *pos);
    std::string field = text.substr(*pos, comma == std::string::npos ? std::string::npos
                                                                     : comma - *pos);
    *pos = comma == std::string::npos ? text.size() + 1 : comma + 1;
    return field;
}

std::string FaceName(const std::string& face) { return face.substr(0, 31); }

}  // namespace

FontSpec ParseFontText(const std::string& text) {
    FontSpec font;
    if (text.empty()) {
        font.face = "Helv";
        font.point_size = 12;
        font.height = 8;
        font.width = 6;
        font.weight = 600;
        return font;
    }
    size_t pos = 0;
    if (text[0] == '*') {
        pos = 1;
        font.face = FaceName(NextField(text, &pos));
        font.point_size = std::atoi(NextField(text, &pos).c_str());
        font.weight = std::atoi(NextField(text, &pos).c_str());
        font.width = std::atoi(NextField(text, &pos).c_str());
        font.height = std::atoi(NextField(text, &pos).c_str());
        font.flag = NextField(text, &pos) == "TRUE";
        bool has_italic = pos <= text.size();
        font.italic = has_italic && NextField(text, &pos) != "FALSE";
        return font;
    }
    font.face = FaceName(NextField(text, &pos));
    font.point_size = 8;
    if (pos <= text.size())
        std::sscanf(text.c_str() + pos, "%d%*c%d%*c%d", &font.height, &font.width, &font.weight);
    return font;
}

std::string FontText(const FontSpec& font) {
    char text[128];
    std::snprintf(text, sizeof text, "*%s,%i,%i,%i,%i,%s,%s", font.face.c_str(),
                  font.point_size, font.weight, font.width, font.height,
                  font.flag ? "TRUE" : "FALSE", font.italic ? "TRUE" : "FALSE");
    return text;
}

const char* FontDefaultText(int n) {
    switch (n) {
    case 1: return "Helv,8,6,600";
    case 4: return "*Arial,8,400,0,-13,FALSE,FALSE";
    default: return "Helv,8,6,400";
    }
}

namespace {

std::string FontKey(int n) { return "Font" + std::to_string(n); }

}  // namespace

FontSpec ReadFont(int n) {
    return ParseFontText(QVN_ReadProfileText(kApptbook, FontKey(n).c_str(), FontDefaultText(n)));
}

int WriteFont(int n, const FontSpec& font) {
    return QVN_WriteProfileString(kApptbook, FontKey(n).c_str(), FontText(font).c_str());
}

FontSpec DefaultSheetFont() {
    FontSpec font;
    font.face = "MS Sans Serif";
    font.point_size = 8;
    font.height = -11;
    font.weight = 400;
    return font;
}

int ReadDefaultView() { return ReadInt("DEF_VIEW", 1); }
int WriteDefaultView(int view) { return QVN_WriteProfileInt(kApptbook, "DEF_VIEW", view); }
bool ReadIdealDay() { return ReadInt("IdealDay", 0) == 1; }
int WriteIdealDay(bool on) { return QVN_WriteProfileInt(kApptbook, "IdealDay", on ? 1 : 0); }
bool ReadViewTimeAtRight() { return ReadInt("ViewTimeAtRight", 1) == 1; }
int WriteViewTimeAtRight(bool on) { return QVN_WriteProfileInt(kApptbook, "ViewTimeAtRight", on ? 1 : 0); }

ButtonBarOrientation ReadButtonBarOrientation() {
    return ReadInt("BBOrientation", 2) == 1 ? kButtonBarVertical : kButtonBarHorizontal;
}

int WriteButtonBarOrientation(ButtonBarOrientation orientation) {
    return QVN_WriteProfileInt(kApptbook, "BBOrientation", orientation);
}

uint32_t ReadClipboardAppointment() {
    return static_cast<uint32_t>(QVN_ReadProfileInt("Apptbook", "Clipboard Appt", 0));
}

int WriteClipboardAppointment(uint32_t appointment_id) {
    return QVN_WriteProfileInt("Apptbook", "Clipboard Appt", static_cast<int>(appointment_id));
}

std::string FlipTabKey(int index) {
    static const char* const kModes[3] = {"Day", "Week", "Month"};
    return std::string(kModes[index / 4]) + "UserTab" + std::to_string(index % 4 + 1);
}

FlipTabTexts ReadFlipTabTexts() {
    FlipTabTexts texts;
    for (int i = 0; i < 12; ++i)
        texts[i] = ReadLimited(kApptbook, FlipTabKey(i).c_str(), "", kFlipTabTextMax);
    return texts;
}

int WriteFlipTabTexts(const FlipTabTexts& texts) {
    int ok = 1;
    for (int i = 0; i < 12; ++i) {
        std::string text = texts[i].substr(0, kFlipTabTextMax);
        if (!QVN_WriteProfileString(kApptbook, FlipTabKey(i).c_str(), text.c_str())) ok = 0;
    }
    return ok;
}

NetworkSettings ReadNetworkSettings() {
    NetworkSettings n;
    n.station = QVN_ReadProfileInt("NETWORK", "STATION", 1);
    n.net_version = QVN_ReadProfileInt("NETWORK", "NetVersion", 0);
    n.station_count = QVN_ReadProfileInt("NETWORK", "StationCount", 2);
    int speed = QVN_ReadProfileInt("NETWORK", "UpdateSpeed", 15);
    n.update_speed = speed < kUpdateSpeedMin ? kUpdateSpeedMin
                     : speed > kUpdateSpeedMax ? kUpdateSpeedMax
                                               : speed;
    return n;
}

bool ReadAlwaysCalculate() { return QVN_ReadPracticeInfInt("APPTBOOK", "AlwaysCalculate", 1) == 1; }
int WriteAlwaysCalculate(bool on) {
    return QVN_WriteProfileString("APPTBOOK", "AlwaysCalculate", on ? "1" : "0", QVN_PracticeInfPath().c_str());
}

int ReadCountryCode() {
    if (QVN_ProfileKeyExists("Intl", "iCountry")) return QVN_ReadProfileInt("Intl", "iCountry", 1);
    return country_reader ? country_reader() : 1;
}

void InstallCountryReader(CountryReader reader) { country_reader = reader; }
