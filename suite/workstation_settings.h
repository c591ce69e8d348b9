// The appointment book's own keys of the suite settings file and of the practice's
// "qvndata.inf": every key with its default, and the colour and font texts they hold.
//
// Colours are Windows colour references (red in the low byte). Reading goes to the file every
// time, so a value written by practice setup or another module shows at the next read.
#pragma once

#include <array>
#include <cstdint>
#include <string>

// --- Colours --------------------------------------------------------------------------------

constexpr uint32_t QVN_Rgb(int red, int green, int blue) {
    return static_cast<uint32_t>(red & 0xFF) | static_cast<uint32_t>(green & 0xFF) << 8 |
           static_cast<uint32_t>(blue & 0xFF) << 16;
}

// The four colour keys of section APPTBOOK. The two background keys and the two others read
// their texts by different rules (see ParseColourText).
enum ColourKey : int {
    kColourBackground1 = 0,  // BGCOLOR1: the sheet in open office time
    kColourBackground2 = 1,  // BGCOLOR2: closed office and provider time
    kColourUnavailable = 2,  // COLOR2: time in which a provider is unavailable
    kColourDayNote = 3,      // COLOR3: the day's "Note" button when the day has a note
};

const char* ColourKeyName(ColourKey key);     // "BGCOLOR1" ...
const char* ColourDefaultText(ColourKey key);  // the text a missing key reads as

// An 11-character text holds red, green and blue: for the background keys the decimal numbers
// starting at positions 0, 4 and 8 ("255,255,150", "255 255 150"); for the other two three
// numbers separated by single characters. Any other length: a background key reads the text
// as one number (the colour reference itself), COLOR2 gives 128,255,255, COLOR3 255,255,0.
uint32_t ParseColourText(ColourKey key, const std::string& text);

// Reads a colour key (at most 19 characters of its text count).
uint32_t ReadColour(ColourKey key);

struct SheetColours {
    uint32_t background1, background2, unavailable, day_note;
};
SheetColours ReadSheetColours();

// Writes a colour as the decimal number of its colour reference ("%ld"), what practice setup
// stores; ParseColourText reads it back unless the number happens to have 11 digits, which no
// colour reference has.
int WriteColour(ColourKey key, uint32_t colour);

// --- Fonts ----------------------------------------------------------------------------------

constexpr int kDefaultCharset = 1;  // the Windows default character set

struct FontSpec {
    std::string face;  // at most 31 characters
    int point_size = 0;
    int height = 0;  // logical height
    int width = 0;   // logical width
    int weight = 0;
    bool flag = false;  // kept with the font by the font dialog
    bool italic = false;
    int charset = kDefaultCharset;  // always the default character set

    bool operator==(const FontSpec&) const = default;
};

// Reads a font text: the plain form "Face,height,width,weight" (point size 8, upright), the star
// form "*Face,points,weight,width,height,FLAG,ITALIC" ("FALSE" or "TRUE"; italic is true for
// anything but "FALSE"), and an empty text as Helv 12 points, height 8, width 6, weight 600.
FontSpec ParseFontText(const std::string& text);

// The star form of a font: "*%s,%i,%i,%i,%i,%s,%s".
std::string FontText(const FontSpec& font);

// Font n (1-4) of section APPTBOOK, from its key Font1 ... Font4 or its default text.
FontSpec ReadFont(int n);
const char* FontDefaultText(int n);
int WriteFont(int n, const FontSpec& font);  // writes the star form

// What font 3 becomes when the font dialog's "Default" button was used.
FontSpec DefaultSheetFont();

// --- Integer keys of section APPTBOOK -------------------------------------------------------

int ReadDefaultView();  // DEF_VIEW, default 1
int WriteDefaultView(int view);
bool ReadIdealDay();  // IdealDay, default 0
int WriteIdealDay(bool on);
bool ReadViewTimeAtRight();  // ViewTimeAtRight, default 1
int WriteViewTimeAtRight(bool on);

enum ButtonBarOrientation : int { kButtonBarVertical = 1, kButtonBarHorizontal = 2 };
ButtonBarOrientation ReadButtonBarOrientation();  // BBOrientation: 1, anything else 2
int WriteButtonBarOrientation(ButtonBarOrientation orientation);

// Appointment waiting on the pin board (Apptbook "Clipboard Appt", default 0).
uint32_t ReadClipboardAppointment();
int WriteClipboardAppointment(uint32_t appointment_id);

// --- Flip tabs --------------------------------------------------------------------------------

constexpr int kFlipTabTextMax = 80;
// DayUserTab1-4, WeekUserTab1-4, MonthUserTab1-4, in that order; empty when missing.
using FlipTabTexts = std::array<std::string, 12>;
std::string FlipTabKey(int index);  // index 0-11
FlipTabTexts ReadFlipTabTexts();
int WriteFlipTabTexts(const FlipTabTexts& texts);  // texts are cut to 80 characters

// --- NETWORK --------------------------------------------------------------------------------

constexpr int kUpdateSpeedMin = 5;
constexpr int kUpdateSpeedMax = 20;

struct NetworkSettings {
    int station = 1;        // STATION: the workstation's number
    int net_version = 0;    // NetVersion
    int station_count = 2;  // StationCount
    int update_speed = 15;  // UpdateSpeed: seconds between refreshes, limited to 5-20
};
NetworkSettings ReadNetworkSettings();

// --- The practice's qvndata.inf ---------------------------------------------------------------

// APPTBOOK AlwaysCalculate, default 1: appointment amounts come from the attached procedures.
bool ReadAlwaysCalculate();
int WriteAlwaysCalculate(bool on);  // "1" or "0"

// --- The Windows profile ----------------------------------------------------------------------

// Intl iCountry, default 1. The suite settings file may hold it (tests and workstations that
// want another country's labels); otherwise the Windows side's reader answers, once installed.
int ReadCountryCode();
using CountryReader = int (*)();
void InstallCountryReader(CountryReader reader);  // nullptr: no Windows profile (default 1)
