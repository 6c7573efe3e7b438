// VB's Date: a double counting days since 30 December 1899, the time of day as the
// fraction. A negative serial counts days before that day while its fraction still
// runs forward from midnight (-1.25 is 29 December 1899, 06:00), as VB keeps it.
// Text is read under Polish regional settings: day first.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace jet::dates {

struct Parts {
    int year = 1899, month = 12, day = 30;
    int hour = 0, minute = 0, second = 0;
};

// The range VB accepts: 1 January 100 to 31 December 9999, 23:59:59. kMinSerial is
// the first day's midnight; its later times count forward from it, down to just above
// kMinSerial - 1 (-657434.5 is 1 January 100, 12:00).
inline constexpr double kMinSerial = -657434.0;
inline constexpr double kMaxSerial = 2958465.999988426;

bool valid_date(int year, int month, int day);
// True when a serial is a date of the range (false for infinity and NaN).
inline bool in_range(double serial) {
    return serial > kMinSerial - 1 && serial <= kMaxSerial;
}

// A one- or two-digit year as VB reads it: 0-29 are 2000-2029, 30-99 are 1930-1999.
// Other years are returned unchanged.
int expand_year(int year);

// The serial of a calendar date and time of day; nullopt when the date or the time
// is not valid or lies outside VB's range.
std::optional<double> to_serial(int year, int month, int day, int hour = 0, int minute = 0,
                                int second = 0);
std::optional<double> to_serial(const Parts& p);

// The calendar date and time of a serial, rounded to the whole second (a time that
// rounds up to midnight moves to the next day). The serial must be in range.
Parts from_serial(double serial);

// Reads a date, a date and a time, or a time alone, as VB's CDate does under Polish
// settings: "dd-MM-yyyy", "dd.MM.yyyy", "dd/MM/yyyy", "yyyy-MM-dd", two-digit years
// (see expand_year), then an optional time "hh:mm[:ss]" with optional AM/PM. A date
// that is impossible day first but possible month first is read month first, as VB
// does. Blanks around the text are ignored. nullopt when the text is not a date.
std::optional<double> parse(std::string_view text);

// The Polish short form of a serial: "yyyy-MM-dd", with " hh:mm:ss" when it has a
// time of day; "hh:mm:ss" alone when the date part is 0 and there is a time.
std::string to_text(double serial);

}  // namespace jet::dates
